#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_validation.h"
#include "stagedesk/core/sd_xml.h"

#include "sd_fakes.h"

#include <gtest/gtest.h>

namespace {

// An item whose disc 1 carries the given validation entries.
QString ItemWithRules(const QString& entries) {
    return "<item><cd><media number=\"1\"><validation>" + entries + "</validation></media></cd></item>";
}

class ValidationTest : public testing::Test {
protected:
    void SetUp() override {
        kit.Write("disc/i386/TXTSETUP.SIF", "[Strings]\r\nProductName = \"Sample\"\r\nBuildLab\r\n");
        kit.Write("disc/i386/SETUPP.INI", "[Pid]\nPid = 51882335\nBuild = 3790\nExtra = Sample==\nLoose=1\n");
    }
    bool Disc1(const QString& entries) {
        kit.Item("item.xml", ItemWithRules(entries));
        return validation.PerformValidation("item.xml", kit.Path("disc"), 1, "cd");
    }

    TestKit kit;
    ScriptedPrompt prompt;
    sd_xml xml{kit.Home()};
    sd_validation validation{xml, prompt};
};

TEST_F(ValidationTest, FilePatternsAndTextValues) {
    EXPECT_TRUE(Disc1("<file><name>*.sif</name><path>\\i386\\</path></file>"));
    EXPECT_FALSE(Disc1("<file><name>*.sif</name><path>\\</path></file>")); // subfolders are not searched
    EXPECT_TRUE(Disc1("<file><name>TXTSETUP.SIF</name><path>i386</path><value>Sample</"
                      "value><value>[Strings]<line/></value></file>"));
    // The pattern is there but none of the values: not this disc.
    EXPECT_FALSE(Disc1(
        "<file><name>*.SIF</name><path>i386</path><value>Other</value><value>Nothing</value><text/></file>"));
    EXPECT_TRUE(Disc1(
        "<file><name>*.SIF</name><path>i386</path><value>Other</value><value>Sample</value><text/></file>"));
    EXPECT_FALSE(
        Disc1("<file><name>*.SIF</name><path>i386</path><value>Sample</value><value>Other</value></file>"));

    // Whole-line marks: [@line='true'] for any-value, a "line" child for all-values.
    EXPECT_TRUE(Disc1("<file><name>*.SIF</name><path>i386</path><value line=\"true\">ProductName = "
                      "\"Sample\"</value><text/></file>"));
    EXPECT_FALSE(
        Disc1("<file><name>*.SIF</name><path>i386</path><value line=\"true\">Sample</value><text/></file>"));
    EXPECT_FALSE(Disc1("<file><name>*.SIF</name><path>i386</path><value>Strings<line/></value></file>"));
    // Without whole line a line must be longer than the text.
    EXPECT_FALSE(Disc1("<file><name>*.SIF</name><path>i386</path><value>BuildLab</value></file>"));
    EXPECT_TRUE(Disc1("<file><name>*.SIF</name><path>i386</path><value>BuildLab<line/></value></file>"));
    // Every entry must pass.
    EXPECT_FALSE(Disc1(
        "<file><name>*.SIF</name><path>i386</path></file><file><name>MISSING.TXT</name><path/></file>"));
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(ValidationTest, IniChecks) {
    auto ini = [&](const QString& items) {
        return Disc1("<file><name>SETUPP.INI</name><path>i386</path>" + items + "</file>");
    };
    EXPECT_TRUE(ini("<item>Pid</item><value>51882335</value>"));
    EXPECT_FALSE(ini("<item>Pid</item><value>51882336</value>"));
    EXPECT_TRUE(ini("<item>Build</item><value>3790<gt/></value>"));
    EXPECT_TRUE(ini("<item>Build</item><value>3000<gt/></value>"));
    EXPECT_FALSE(ini("<item>Build</item><value>3800<gt/></value>"));
    EXPECT_TRUE(ini("<item>Build</item><value>3800<lt/></value>"));
    EXPECT_FALSE(ini("<item>Build</item><value>3700<lt/></value>"));
    EXPECT_TRUE(ini("<item>Missing</item><value>1</value>")); // an item no line names is passed over
    EXPECT_TRUE(ini("<item>Missing</item><value>1</value><item>Pid</item><value>51882335</value>"));
    EXPECT_FALSE(ini("<item>Missing</item><value>1</value><item>Build</item><value>1<lt/></value>"));
    EXPECT_TRUE(ini("<item>Extra</item><value>Sample</value>")); // every "=" of the value is dropped
    EXPECT_TRUE(ini("<item>Loose</item><value>2</value>"));      // "Loose=" lacks " = ": not named
    // Each entry is checked with its own data: an INI entry followed by a value entry.
    EXPECT_TRUE(
        Disc1("<file><name>SETUPP.INI</name><path>i386</path><item>Pid</item><value>51882335</value></file>"
              "<file><name>*.SIF</name><path>i386</path><value>Sample</value></file>"));
}

TEST_F(ValidationTest, TieBetweenDiscsAndDiscsWithoutRules) {
    kit.Write("disc1/DISCID.TXT", "header\nSAMPLE-0042\n");
    kit.Write("disc2/DISCID.TXT", "header\nSAMPLE-0042\n");
    kit.Write("other/DISCID.TXT", "header\nSAMPLE-0099\n");
    kit.Item(
        "item.xml",
        "<item><cd><media number=\"1\"><validation><file><name>DISCID.TXT</name><path/></file></validation>"
        "<validate_subsequent><file><name>DISCID.TXT</name><path>\\</path><line>2</line></file></"
        "validate_subsequent>"
        "</media><media number=\"2\"><validation><previous_media>1</previous_media></validation></media>"
        "<media number=\"3\"/></cd></item>");
    EXPECT_FALSE(
        validation.PerformValidation("item.xml", kit.Path("disc2"), 2, "cd")); // nothing captured yet
    ASSERT_TRUE(validation.PerformValidation("item.xml", kit.Path("disc1"), 1, "cd"));
    EXPECT_EQ(xml.GetXPathXML("//validate_value", "item.xml"), "SAMPLE-0042");
    EXPECT_TRUE(validation.PerformValidation("item.xml", kit.Path("disc2"), 2, "cd"));
    EXPECT_FALSE(validation.PerformValidation("item.xml", kit.Path("other"), 2, "cd"));
    EXPECT_TRUE(validation.PerformValidation("item.xml", kit.Path("empty"), 3, "cd"));
    EXPECT_TRUE(validation.PerformValidation("item.xml", kit.Path("empty"), 1, "dvd"));
}

// Editors put a UTF-8 byte order mark before the first line; the line is read without it, also when
// the rest of the line is in an 8-bit code page.
TEST_F(ValidationTest, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
    struct Case {
        const char* what;
        std::string firstLine;
        bool valid;
    };
    const QString rule = "<file><name>MARKED.SIF</name><path>i386</path><value line=\"true\">ProductName = "
                         "\"Caf\u00e9 Server\"</value><text/></file>";
    for (const Case& c :
         {Case{"8-bit text after the mark", "\xEF\xBB\xBFProductName = \"Caf\xE9 Server\"", true},
          Case{"UTF-8 text after the mark", "\xEF\xBB\xBFProductName = \"Caf\xC3\xA9 Server\"", true},
          Case{"8-bit text without a mark", "ProductName = \"Caf\xE9 Server\"", true},
          Case{"a mark before other text", "\xEF\xBB\xBFProductName = \"Other\"", false}}) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(kit.Path("disc/i386/MARKED.SIF").toStdString(), c.firstLine + "\r\n[Strings]\r\n");
        EXPECT_EQ(Disc1(rule), c.valid);
        EXPECT_EQ(validation.ValidateFile(kit.Path("disc/i386"), "MARKED.SIF", "ProductName", 1), true);
    }
}

TEST_F(ValidationTest, SingleFileChecks) {
    const QString folder = kit.Path("disc/i386/");
    EXPECT_TRUE(validation.ValidateFile(folder, "SETUPP.INI", "Build", 3));
    EXPECT_FALSE(validation.ValidateFile(folder, "SETUPP.INI", "Build", 2));
    EXPECT_FALSE(validation.ValidateFile(folder, "SETUPP.INI", "Build", 9));
    EXPECT_TRUE(
        validation.ValidateFile(folder, "setupp.ini", "Pid = 51882335", true)); // letter case of the name
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(validation.ValidateFile(folder, "NOFILE.TXT", "x", false));
    EXPECT_EQ(prompt.Count("Exception Occurred"),
              1); // an unreadable file counts as not found, after its message
}

} // namespace

namespace {

// Each kind of rule, refused: the details name the rule, the file read, what it expected and found.
TEST_F(ValidationTest, ARefusalNamesTheRuleTheFileAndWhatWasExpectedAgainstWhatWasFound) {
    const QString sif = sd::ShownPath(kit.Path("disc/i386/TXTSETUP.SIF"));
    const QString ini = sd::ShownPath(kit.Path("disc/i386/SETUPP.INI"));
    const struct {
        const char* rules;
        QString details;
    } cases[] = {
        {"<file><name>*.sif</name><path>i386</path></file><file><name>CDROM_S.1</name><path/></file>",
         "Rule: //cd/media[@number=1]/validation/file[2]: a file that must be present\nFile: " +
             sd::ShownPath(kit.Path("disc/CDROM_S.1")) +
             "\nExpected: a file matching \"CDROM_S.1\"\nFound: no such file in " +
             sd::ShownPath(kit.Path("disc"))},
        {"<file><name>*.SIF</name><path>i386</path><value>Other</value><value>None</value><text/></file>",
         "Rule: //cd/media[@number=1]/validation/file[1]: one of the texts must appear in the file\nFile: " +
             sif + "\nExpected: a line with one of \"Other\", \"None\"\nFound: no line with any of them"},
        {"<file><name>*.SIF</name><path>i386</path><value>Sample</value><value>Strings<line/></value></file>",
         "Rule: //cd/media[@number=1]/validation/file[1]/value[2]: every text must appear in the "
         "file\nFile: " +
             sif + "\nExpected: a line equal to \"Strings\"\nFound: no such line"},
        {"<file><name>SETUPP.INI</name><path>i386</path><item>Pid</item><value>51882335</value>"
         "<item>Build</item><value>3791<gt/></value></file>",
         "Rule: //cd/media[@number=1]/validation/file[1]/item[2]: a value of the file\nFile: " + ini +
             "\nExpected: Build >= 3791\nFound: Build = 3790"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Disc1(c.rules)) << c.rules;
        EXPECT_EQ(validation.RefusalDetails(), c.details) << c.rules;
    }
    EXPECT_TRUE(Disc1("<file><name>*.sif</name><path>i386</path></file>"));
    EXPECT_EQ(validation.RefusalDetails(), ""); // an accepted disc leaves none from before
}

TEST_F(ValidationTest, ARefusedLaterDiscShowsTheLineItFoundAgainstTheFirstDiscs) {
    kit.Write("disc1/DISCID.TXT", "SAMPLE-0042\n");
    kit.Write("other/DISCID.TXT", "SAMPLE-0099\n");
    kit.Item("item.xml",
             "<item><cd><media number=\"1\"><validate_subsequent><file><name>DISCID.TXT</name>"
             "<path/><line>1</line></file></validate_subsequent><validation/></media>"
             "<media number=\"2\"><validation><previous_media/></validation></media></cd></item>");
    ASSERT_TRUE(validation.PerformValidation("item.xml", kit.Path("disc1"), 1, "cd"));
    EXPECT_FALSE(validation.PerformValidation("item.xml", kit.Path("other"), 2, "cd"));
    EXPECT_EQ(validation.RefusalDetails(),
              "Rule: previous_media: the same line as on the first disc\nFile: " +
                  sd::ShownPath(kit.Path("other/DISCID.TXT")) +
                  "\nExpected: line 1 beginning with \"SAMPLE-0042\"\nFound: "
                  "\"SAMPLE-0099\"");
}

} // namespace
