#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_destination.h"
#include "stagedesk/core/sd_startup.h"
#include "stagedesk/core/sd_xml.h"

#include "sd_fakes.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class StartupTest : public testing::Test {
protected:
    // The start-up makes the home folder current; the tests' own folder comes back afterwards.
    ~StartupTest() override { QDir::setCurrent(startFolder); }
    bool Run() {
        sd_startup startup(kit.Home(), xml, prompt);
        const bool passed = startup.Run([&] { ++steps; });
        editions = startup.Editions();
        base = startup.BaseDirectory();
        return passed;
    }
    QString Config(const QString& element) { return xml.GetXPathXML("//" + element, "stagedesk.xml"); }

    const QString startFolder = QDir::currentPath();
    TestKit kit;
    sd_xml xml{kit.Home()};
    ScriptedPrompt prompt;
    sd_Editions editions;
    QString base;
    int steps = 0;
};

TEST_F(StartupTest, RecordsTheEditionsFoundAndTheBaseDirectory) {
    kit.Write("kit/winpetk/version.ini", "[Toolkit]\r\nVersion = 1.2\r\n"); // below the minimum 1.3
    kit.Write("kit/linuxtk/VERSION.INI", "no version line\n");
    ASSERT_TRUE(Run());
    EXPECT_EQ(QDir::currentPath(), QDir(kit.Home()).absolutePath());
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(base, kit.Base());
    EXPECT_EQ(Config("base_toolkit_dir"), kit.Base());
    EXPECT_EQ(Config("dos_toolkit_installed"), "Yes");
    EXPECT_EQ(Config("dos_toolkit_version"), "2.4");
    EXPECT_EQ(Config("winpe_toolkit_installed"), "No");
    EXPECT_EQ(Config("winpe_toolkit_version"), "1.3");
    EXPECT_EQ(Config("linux_toolkit_installed"), "Yes"); // no version line: passes, version kept
    EXPECT_EQ(Config("linux_toolkit_version"), "3.0");
    EXPECT_TRUE(editions.dos.installed && !editions.winpe.installed && editions.linux_.installed);

    // What the main window builds from that: only the installed editions' alternatives.
    EXPECT_EQ(AvailabilityQuery(sd_Task::PrebootFiles, editions),
              "//preboot_files[@dos='Yes'] | //preboot_files[@linux='Yes']");
    editions.linux_.installed = false;
    EXPECT_EQ(AvailabilityQuery(sd_Task::DriverFiles, editions), "//device_drivers[@dos='Yes']");
    EXPECT_TRUE(IsTaskAvailable(xml, sd_Task::InstallationFiles, editions));
    EXPECT_FALSE(IsTaskAvailable(xml, sd_Task::DriverFiles, editions));
}

TEST_F(StartupTest, AVersionFileWithAByteOrderMarkIsReadFromItsFirstLine) {
    kit.Write("kit/winpetk/version.ini", "");
    for (const auto& [version, installed] : {std::pair{"1.2", "No"}, std::pair{"1.5", "Yes"}}) {
        WriteWholeFile(kit.Path("kit/winpetk/version.ini").toStdString(),
                       std::string("\xEF\xBB\xBFVersion = ") + version + "\r\n[Toolkit]\r\n");
        ASSERT_TRUE(Run());
        EXPECT_EQ(Config("winpe_toolkit_installed"), installed) << version;
        EXPECT_EQ(Config("winpe_toolkit_version"), installed == std::string("Yes") ? version : "1.3");
    }
}

TEST_F(StartupTest, EachFailedCheckEndsWithItsMessage) {
    QFile::remove(kit.Path("kit/dostk/version.ini"));
    EXPECT_FALSE(Run());
    EXPECT_EQ(
        prompt.Texts("Supported Kitorium Not Found"),
        QStringList{"A compatible version of the Torvik Harborline Kitorium\ncould not be found.\n\nPlease "
                    "install a compatible version of the Torvik Harborline Kitorium."});
    EXPECT_EQ(Config("dos_toolkit_installed"), "No");

    kit.Write("kit/stagedesk/xml/stagedesk.xml", "<stagedesk><unclosed></stagedesk>");
    EXPECT_FALSE(Run());
    EXPECT_EQ(prompt.Count("File Read Error"), 1);

    QFile::remove(kit.Path("kit/stagedesk/xml/stagedesk.xml"));
    EXPECT_FALSE(Run());
    EXPECT_EQ(prompt.Texts("File Not Found"),
              QStringList{"The file \"stagedesk.xml\" could not be found.\n\nPlease reinstall the Torvik "
                          "Harborline Kitorium."});

    QFile::remove(kit.Path("kit/stagedesk/xml/sdlocal_en.xml"));
    steps = 0;
    EXPECT_FALSE(Run());
    EXPECT_EQ(prompt.Count("Error Opening File"), 1);
    EXPECT_EQ(steps, 0);
}

TEST(DestinationRules, ForbiddenTextsAndThe83Question) {
    for (const char* name :
         {"a\"b", "a*", "a/b", "c:", "<x", "x>", "what?", "a|b", "..\\up", ".\\here", "a\\b"})
        EXPECT_TRUE(sd::HasForbiddenText(name)) << name;
    for (const char* name : {"", ".", "..", " . "}) // no folder of its own: the kit would be the target
        EXPECT_TRUE(sd::HasForbiddenText(name)) << name;
    for (const char* name : {"W2K3", "my.os", "a..b", "WinPE2005SP1"})
        EXPECT_FALSE(sd::HasForbiddenText(name)) << name;
    EXPECT_EQ(
        sd::InvalidCharactersMessage(),
        "A directory name may not contain any of the following:\n\n\" *  /  :  <  >  ?  |  ..\\  .\\  \\");
    EXPECT_TRUE(sd::Needs83Question(sd_Task::DriverFiles, "DRIVERS99"));
    EXPECT_FALSE(sd::Needs83Question(sd_Task::DriverFiles, "DRIVERS9"));
    EXPECT_FALSE(sd::Needs83Question(sd_Task::PrebootFiles, "WinPE2005SP1"));
}

TEST(DestinationRules, SpaceCheckNamesTheDrive) {
    TestKit kit;
    kit.Item("item.xml", "<item><size>700</size></item>");
    FakePlatform platform;
    ScriptedPrompt prompt;
    sd_IOManip io(platform, prompt);
    sd_xml xml(kit.Home());
    platform.freeBytes = 700LL * 1048576;
    EXPECT_TRUE(sd::HasRoomForItem(io, xml, "item.xml", kit.Base(), prompt));
    platform.freeBytes -= 1;
    EXPECT_FALSE(sd::HasRoomForItem(io, xml, "item.xml", kit.Base(), prompt));
    EXPECT_EQ(prompt.Texts("Not Enough Free Space"),
              QStringList{
                  "There is not enough free space availabe on drive E: to\ncomplete the file copy process."});
}

} // namespace
