#include "stagedesk/core/sd_tasks.h"
#include "stagedesk/core/sd_xml.h"

#include "sd_fakes.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kExampleHome = QString(KIT_SOURCE_DIR) + "/examples/kit/stagedesk";

TEST(SdXml, QueriesTheSampleConfiguration) {
    sd_xml xml(kExampleHome);
    EXPECT_EQ(xml.GetXPathXML("//winpe_toolkit_dir", "stagedesk.xml"), "winpetk");
    EXPECT_EQ(xml.GetXPathXML("//device_drivers/default_path", "xml"), "drvs");
    EXPECT_EQ(xml.GetXPathXML("//os[name='Sample Server 2003']/file", "xml\\stagedesk.xml"), "srv2003.xml");
    EXPECT_TRUE(xml.GetXPathXML("//os[name='No Such OS']/file", "stagedesk.xml").isNull());
    EXPECT_EQ(xml.GetXPathXML("//application_files/@winpe", "stagedesk.xml"), "Yes");

    // Unions with attribute predicates, as the main window builds them.
    EXPECT_TRUE(
        xml.CheckNodeExists("//preboot_files[@winpe='Yes'] | //preboot_files[@dos='Yes']", "stagedesk.xml"));
    EXPECT_FALSE(
        xml.CheckNodeExists("//preboot_files[@dos='Yes'] | //preboot_files[@linux='Yes']", "stagedesk.xml"));
    ASSERT_TRUE(xml.GetMultiXPathXML(
        "//device_drivers[@dos='Yes']/default_path | //utility_files[@linux='Yes']/default_path",
        "stagedesk.xml"));
    EXPECT_EQ(xml.str_XMLData, (QStringList{"drvs", "utils"})); // document order, not query order
    EXPECT_FALSE(xml.GetMultiXPathXML("//nothing", "stagedesk.xml"));
    EXPECT_TRUE(xml.str_XMLData.isEmpty());

    // Item files by name, plain node names anywhere, element text without its children's.
    EXPECT_TRUE(xml.CheckNodeExists("dvd/media", "srv2003.xml"));
    EXPECT_FALSE(xml.CheckNodeExists("skip_path_check", "srv2003.xml"));
    EXPECT_EQ(xml.GetXPathXML("//cd/media[@number=1]/validation/file[3]/value[2]", "srv2003.xml"), "3790");
    EXPECT_EQ(xml.GetXPathXML("//name[../media_name]", "srv2003.xml"), "Sample Server 2003");
}

TEST(SdXml, WritesOnlyTheElementAndKeepsTheRest) {
    TestKit kit;
    const QString text =
        "<?xml version=\"1.0\"?>\n<!-- kept -->\n<config>\n  <a>old</a>\n  <b x=\"1\">keep</b>\n</config>\n";
    kit.Write("kit/stagedesk/xml/stagedesk.xml", text);
    sd_xml xml(kit.Home());
    ASSERT_TRUE(xml.WriteToXML("xml\\stagedesk.xml", "a", "new"));
    ASSERT_TRUE(xml.WriteToXML("stagedesk.xml", "added", "value"));
    EXPECT_EQ(Read(kit.Path("kit/stagedesk/xml/stagedesk.xml")),
              "<?xml version=\"1.0\"?>\n<!-- kept -->\n<config>\n  <a>new</a>\n  <b x=\"1\">keep</b>\n"
              "<added>value</added></config>\n");
    EXPECT_EQ(xml.GetXPathXML("//added", "stagedesk.xml"), "value");
    EXPECT_FALSE(xml.WriteToXML("stagedesk.xml", "//b[@x='2']", "nowhere"));

    // A change made by someone else is seen at the next query, even at once and with the same size.
    kit.Write("kit/stagedesk/xml/stagedesk.xml", "<config><a>one</a></config>");
    EXPECT_EQ(xml.GetXPathXML("//a", "stagedesk.xml"), "one");
    kit.Write("kit/stagedesk/xml/stagedesk.xml", "<config><a>two</a></config>");
    EXPECT_EQ(xml.GetXPathXML("//a", "stagedesk.xml"), "two");
}

TEST(SdXml, MalformedFilesAndQueriesFailWithAReason) {
    TestKit kit;
    kit.Item("broken.xml", "<item><name>x</name>");
    sd_xml xml(kit.Home());
    EXPECT_TRUE(xml.GetXPathXML("//name", "broken.xml").isNull());
    EXPECT_FALSE(xml.Load("broken.xml"));
    EXPECT_TRUE(xml.LastError().contains("not valid XML")) << xml.LastError().toStdString();
    EXPECT_FALSE(xml.WriteToXML("broken.xml", "name", "y"));
    EXPECT_EQ(Read(kit.Path("kit/stagedesk/xml/broken.xml")), "<item><name>x</name>");

    EXPECT_FALSE(xml.CheckNodeExists("//os[name='unclosed]", "stagedesk.xml"));
    EXPECT_TRUE(xml.LastError().contains("not valid")) << xml.LastError().toStdString();
    EXPECT_FALSE(xml.Load("missing.xml"));
    EXPECT_TRUE(xml.LastError().contains("could not be found"));
}

TEST(SdTasks, ItemNamesWithQuotesAreFound) {
    TestKit kit;
    kit.Write("kit/stagedesk/xml/stagedesk.xml",
              "<stagedesk><operating_systems><default_path>os</default_path><category name=\"A\">"
              "<os><name>Vendor's \"Best\" OS</name><file>best.xml</file></os>"
              "<os><name>Plain</name><file>plain.xml</file></os></category></operating_systems></stagedesk>");
    sd_xml xml(kit.Home());
    EXPECT_EQ(ItemFile(xml, sd_Task::InstallationFiles, "Vendor's \"Best\" OS"), "best.xml");
    EXPECT_EQ(ItemFile(xml, sd_Task::InstallationFiles, "Plain"), "plain.xml");
    EXPECT_EQ(ItemNames(xml, sd_Task::InstallationFiles, "A").size(), 2);
    EXPECT_EQ(CategoryTypes(xml, sd_Task::InstallationFiles), QStringList{"A"});
    EXPECT_EQ(TaskFolder(xml, sd_Task::InstallationFiles), "os");
}

} // namespace
