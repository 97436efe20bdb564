// Saves of the configuration and the item description files are whole or nothing.
#include "stagedesk/core/sd_startup.h"
#include "stagedesk/core/sd_validation.h"
#include "stagedesk/core/sd_xml.h"

#include "sd_fakes.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// About 2 KB, so that a write can also fail midway.
QString Document(const QString& value) {
    return "<?xml version=\"1.0\"?>\n<item>\n  <!-- " + QString(2000, '-').replace("--", "- ") +
           " -->\n  <validate_value>" + value + "</validate_value>\n</item>\n";
}

#ifndef _WIN32
TEST(XmlSave, AFailedWriteKeepsTheOldFileByteForByteAndSaysWhy) {
    struct Case {
        const char* file;
        long limit; // bytes a file may have: 0 fails the first write, 100 one in the middle
    };
    for (const Case& c : {Case{"stagedesk.xml", 0}, Case{"stagedesk.xml", 100}, Case{"srv2003.xml", 0},
                          Case{"srv2003.xml", 100}}) {
        SCOPED_TRACE(std::string(c.file) + " limit " + std::to_string(c.limit));
        TestKit kit;
        const QString folder = kit.Path("kit/stagedesk/xml");
        kit.Write("kit/stagedesk/xml/" + QString(c.file), Document("old"));
        const QStringList before = FilesIn(folder);
        sd_xml xml(kit.Home());
        {
            FileSizeLimit full(c.limit);
            EXPECT_FALSE(xml.WriteToXML(c.file, "validate_value", "new"));
        }
        EXPECT_EQ(Read(folder + "/" + c.file), Document("old"));
        EXPECT_EQ(FilesIn(folder), before); // no temporary file left behind
        EXPECT_TRUE(xml.LastError().contains(folder + "/" + c.file)) << xml.LastError().toStdString();
        EXPECT_TRUE(xml.LastError().endsWith("File too large")) << xml.LastError().toStdString();

        ASSERT_TRUE(xml.WriteToXML(c.file, "validate_value", "new"));
        EXPECT_EQ(Read(folder + "/" + c.file), Document("new"));
        EXPECT_EQ(FilesIn(folder), before);
    }
}

// The capture of the disc tie writes the item file: a failed save says why, and the disc is not taken.
TEST(XmlSave, AFailedCaptureLeavesTheItemFileAndTellsTheUser) {
    TestKit kit;
    kit.Write("disc/DISCID.TXT", "SAMPLE-2003-DISC1\n");
    const QString item = "<item><cd><media number=\"1\"><validation><file><name>DISCID.TXT</name><path/>"
                         "</file></validation><validate_subsequent><file><name>DISCID.TXT</name><path/>"
                         "<line>1</line></file></validate_subsequent></media></cd></item>";
    kit.Item("tie.xml", item);
    ScriptedPrompt prompt;
    sd_xml xml(kit.Home());
    sd_validation validation(xml, prompt);
    {
        FileSizeLimit full(0);
        EXPECT_FALSE(validation.PerformValidation("tie.xml", kit.Path("disc"), 1, "cd"));
    }
    EXPECT_EQ(Read(kit.Path("kit/stagedesk/xml/tie.xml")), item);
    ASSERT_EQ(prompt.Count("Exception Occurred"), 1);
    EXPECT_EQ(prompt.asked[0].text,
              "The file " + kit.Path("kit/stagedesk/xml/tie.xml") + " could not be saved: File too large");
}
#endif

// What a killed save left is removed at the next start; other files that look alike are the user's.
TEST(XmlSave, StartUpRemovesTheLeftoversOfAnInterruptedSave) {
    TestKit kit;
    kit.Write("kit/stagedesk/xml/~sd0123abcd.tmp", "<stagedesk><base_too");
    kit.Write("kit/stagedesk/xml/~sdFFFF0000.tmp", "");
    for (const char* kept : {"~sdnotes.tmp", "~sd0123abcd.tmp.bak", "sd0123abcd.tmp"})
        kit.Write(QString("kit/stagedesk/xml/") + kept, "mine");
    const QString startFolder = QDir::currentPath();
    ScriptedPrompt prompt;
    sd_xml xml(kit.Home());
    sd_startup startup(kit.Home(), xml, prompt);
    EXPECT_TRUE(startup.Run());
    QDir::setCurrent(startFolder);
    EXPECT_EQ(FilesIn(kit.Path("kit/stagedesk/xml")),
              (QStringList{"sd0123abcd.tmp", "sdlocal_en.xml", "stagedesk.xml", "~sd0123abcd.tmp.bak",
                           "~sdnotes.tmp"}));
}

} // namespace
