// The output policy writer: names, header, body rules, the temporary file and the failures.
#include "arrayplan/policy/PolicyMaker.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/policy/PolicyList.h"
#include "support/ConsoleCapture.h"
#include "support/MemoryFileSystem.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace {

// A Vaultix-Q4 with drives 1-5, arrays A (1,2,3) and B (4,5) and three logical drives.
std::unique_ptr<RaidController> configuredQ4() {
    auto controller = controllerWith(1, 4, {70000, 70000, 70000});
    controller->setDrive(2, 0, 140000, "SCSI");
    controller->setDrive(2, 1, 140000, "SCSI");
    auto configuration = std::make_unique<RaidConfiguration>();
    configuration->stripeSize = 3;
    RaidArray a, b;
    a.addMember(1, 0), a.addMember(1, 1), a.addMember(1, 2);
    b.addMember(2, 0), b.addMember(2, 1);
    configuration->addArray(a);
    configuration->addArray(b);
    configuration->addLogicalDrive(RaidLogicalDrive{kRaid5, 20000, 0, kWriteCacheAuto});
    configuration->addLogicalDrive(RaidLogicalDrive{kRaid5, kSizeFill, 0, kWriteCacheOn});
    configuration->addLogicalDrive(RaidLogicalDrive{kRaid1, kSizeFill, 1, kWriteCacheOff});
    controller->setConfiguration(std::move(configuration));
    return controller;
}

// A controller of type and variant with two drives in one mirror of size, a hot spare and no stripe size.
std::unique_ptr<RaidController> mirrorWithSpare(int type, int variant, int size) {
    auto controller = controllerWith(type, variant, {70000, 70000, 70000});
    auto configuration = std::make_unique<RaidConfiguration>();
    RaidArray array;
    array.addMember(1, 1), array.addMember(1, 2);
    configuration->addArray(array);
    RaidHotSpare spare;
    spare.setChannel(1), spare.setId(0), spare.setDriveNumber(1);
    configuration->addHotSpare(spare);
    configuration->addLogicalDrive(RaidLogicalDrive{kRaid1, size, 0, kWriteCacheOn});
    controller->setConfiguration(std::move(configuration));
    return controller;
}

// The date and time of a header replaced by placeholders.
std::string withoutClock(const std::string& text) {
    static const std::regex date(R"(\(mm/dd/yyyy\): \d\d/\d\d/\d{4})");
    static const std::regex time(R"(\(hh:mm:ss\):   \d\d:\d\d:\d\d)");
    return std::regex_replace(std::regex_replace(text, date, "(mm/dd/yyyy): DATE"), time,
                              "(hh:mm:ss):   TIME");
}

std::string header(int controller, const std::string& model) {
    return "\n\n; *---------------------------------------------------------------*\n"
           "; * KLAMP auto-generated policy.\n"
           "; * Captured on (mm/dd/yyyy): DATE\n"
           "; * System time (hh:mm:ss):   TIME\n"
           "; * System machine type:      8837\n"
           "; * System serial number:     KQ4711X\n"
           "; * Controller number:        " +
           std::to_string(controller) + "\n; * Controller type:          " + model +
           "\n; *---------------------------------------------------------------*\n\n";
}

std::string q4Body(const std::string& name) {
    return "[" + name +
           "]\n\nAppliesTo.1 = t:Vaultix-Q4,d:5\n\n"
           "StripeSize = 64\nRebuildRate = HIGH\nReadAhead = ADAPTIVE\n\n"
           "Array_Mode = CUSTOM\nArray.A = 1,2,3\nArray.B = 4,5\n\n"
           "Logical_Mode = CUSTOM\nLogical.1 = A:20000:5\nLogical.2 = A:FILL:5:ON\nLogical.3 = "
           "B:FILL:1:OFF\n\n";
}

class PolicyMakerTest : public testing::Test, protected ConfigFixture {
protected:
    std::string outputPath() const { return dir / "out.ini"; }
    std::string output() const { return withoutClock(ReadWholeFile(outputPath())); }
    bool make() {
        CString path = outputPath().c_str();
        OutputFile output(path, "KLAMPM~~");
        ConsoleCapture capture;
        bool made = output.open(settings) && PolicyMaker(settings, path).makePolicies(controllers, output);
        out = capture.Out();
        return made;
    }
    // Files of the fixture's folder whose names start with "KLAMPM~~".
    int temporaryFiles() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            count += entry.path().filename().string().rfind("KLAMPM~~", 0) == 0 ? 1 : 0;
        return count;
    }

    ControllerList controllers;
    std::string out;
};

TEST_F(PolicyMakerTest, NamesFollowThoseInTheFileAndOfTheRun) {
    controllers.add(configuredQ4());
    controllers.add(controllerWithDrives(1, 4, 2));
    controllers.add(configuredQ4());
    ASSERT_TRUE(make()) << out;
    std::string first = header(1, "Vaultix-Q4") + q4Body("Policy.AUTO-Vaultix-Q4-1") +
                        header(3, "Vaultix-Q4") + q4Body("Policy.AUTO-Vaultix-Q4-2");
    EXPECT_EQ(output(), first);
    // A missing file reads as an empty one.
    EXPECT_EQ(out, "Checking syntax of current policies file: " + outputPath() +
                       " ...\n\tScanning policies ...\nGenerating policies from captured configurations ...\n"
                       "\tController 1:  Vaultix-Q4\n\t\tGenerating policy:  Policy.AUTO-Vaultix-Q4-1\n"
                       "\tSkipped controller 2 -- controller is not configured.\n"
                       "\tController 3:  Vaultix-Q4\n\t\tGenerating policy:  Policy.AUTO-Vaultix-Q4-2\n");
    EXPECT_EQ(temporaryFiles(), 0);

    ASSERT_TRUE(make()) << out;
    EXPECT_EQ(output(), first + header(1, "Vaultix-Q4") + q4Body("Policy.AUTO-Vaultix-Q4-3") +
                            header(3, "Vaultix-Q4") + q4Body("Policy.AUTO-Vaultix-Q4-4"));
    EXPECT_EQ(readPolicies(ReadWholeFile(outputPath())).size(), 4);
}

TEST_F(PolicyMakerTest, NamesAvoidOthersInAnyLetterCase) {
    WriteWholeFile(outputPath(), "[policy.auto-vaultix-q4-1]\nAppliesTo.1 = ALL\n");
    controllers.add(configuredQ4());
    ASSERT_TRUE(make()) << out;
    EXPECT_NE(output().find("[Policy.AUTO-Vaultix-Q4-2]"), std::string::npos);
}

TEST_F(PolicyMakerTest, EveryControllerOfAFullInventoryGetsItsName) {
    for (int i = 0; i < ControllerList::kMaxControllers; ++i)
        controllers.add(configuredQ4());
    ASSERT_TRUE(make()) << out;
    std::string written = output();
    EXPECT_NE(written.find("[Policy.AUTO-Vaultix-Q4-16]"), std::string::npos);
    EXPECT_NE(written.find("; * Controller number:        26\n; * Controller type:          Vaultix-Q4\n"
                           "; *---------------------------------------------------------------*\n\n"
                           "[Policy.AUTO-Vaultix-Q4-26]"),
              std::string::npos);
    EXPECT_EQ(readPolicies(ReadWholeFile(outputPath())).size(), 26);
}

TEST_F(PolicyMakerTest, NothingConfiguredLeavesTheFileAlone) {
    controllers.add(controllerWithDrives(1, 4, 2));
    ASSERT_TRUE(make());
    EXPECT_FALSE(std::filesystem::exists(outputPath()));
    WriteWholeFile(outputPath(), "; kept\n");
    ASSERT_TRUE(make());
    EXPECT_EQ(ReadWholeFile(outputPath()), "; kept\n");
    EXPECT_EQ(temporaryFiles(), 0);
}

TEST_F(PolicyMakerTest, SettingsAndSizesFollowTheControllerType) {
    controllers.add(mirrorWithSpare(5, -1, 30000)); // no stripe size, no partial sizing, no write cache
    controllers.add(mirrorWithSpare(12, 1, 30000)); // read ahead, write cache, partial sizes
    controllers.add(mirrorWithSpare(1, -1, 30000)); // a model name with a blank
    controllers.at(1)->configuration()->stripeSize = 0;
    ASSERT_TRUE(make()) << out;
    EXPECT_EQ(output(), header(1, "Corvane-SCSI-RAID") +
                            "[Policy.AUTO-Corvane-SCSI-RAID-1]\n\nAppliesTo.1 = t:Corvane-SCSI-RAID,d:3\n\n"
                            "Array_Mode = CUSTOM\nArray.A = 2,3\n\nHotspares = 1\n\n"
                            "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n\n" +
                            header(2, "Vaultix-M3") +
                            "[Policy.AUTO-Vaultix-M3-1]\n\nAppliesTo.1 = t:Vaultix-M3,d:3\n\n"
                            "StripeSize = 8\nReadAhead = ADAPTIVE\n\n"
                            "Array_Mode = CUSTOM\nArray.A = 2,3\n\nHotspares = 1\n\n"
                            "Logical_Mode = CUSTOM\nLogical.1 = A:30000:1:ON\n\n" +
                            header(3, "Vaultix controller") +
                            "[Policy.AUTO-Vaultix_controller-1]\n\nAppliesTo.1 = t:Vaultix controller,d:3\n\n"
                            "RebuildRate = HIGH\nReadAhead = ADAPTIVE\n\n"
                            "Array_Mode = CUSTOM\nArray.A = 2,3\n\nHotspares = 1\n\n"
                            "Logical_Mode = CUSTOM\nLogical.1 = A:30000:1:ON\n\n");
    // What was written reads back as policies of the same controllers.
    EXPECT_EQ(readPolicies(ReadWholeFile(outputPath())).size(), 3);
}

TEST_F(PolicyMakerTest, ApplicabilityTemplate) {
    controllers.add(configuredQ4());
    settings.applicabilityTemplate = " m, s ,c,o,T,d";
    ASSERT_TRUE(make()) << out;
    EXPECT_NE(output().find("AppliesTo.1 = m:8837,s:KQ4711X,c:1,o:1,t:Vaultix-Q4,d:5\n"), std::string::npos);
    settings.applicabilityTemplate = "c,all";
    ASSERT_TRUE(make()) << out;
    EXPECT_NE(output().find("AppliesTo.1 = ALL\n"), std::string::npos);
    std::string before = ReadWholeFile(outputPath());
    settings.applicabilityTemplate = "c,x";
    EXPECT_FALSE(make());
    EXPECT_EQ(lastErrorReport(out), "Improper syntax for the following parameter:  c,x\n");
    EXPECT_EQ(ReadWholeFile(outputPath()), before);
    EXPECT_EQ(temporaryFiles(), 0);
}

TEST_F(PolicyMakerTest, TemporaryFileIsTheRunsOwn) {
    dir.Write("KLAMPM~~.TMP", "another run's\n");
    dir.Write("KLAMPM~~out.ini~89abcdef.tmp", "left by a killed run\n");
    controllers.add(configuredQ4());
    ASSERT_TRUE(make()) << out;
    EXPECT_EQ(dir.Read("KLAMPM~~.TMP"), "another run's\n");
    EXPECT_EQ(temporaryFiles(), 1) << "the killed run's file is removed, the run's own is renamed";
    EXPECT_EQ(output(), header(1, "Vaultix-Q4") + q4Body("Policy.AUTO-Vaultix-Q4-1"));

    // "/debug" keeps nothing more: the new policies are the end of the output file.
    settings.debug = true;
    ASSERT_TRUE(make()) << out;
    EXPECT_EQ(temporaryFiles(), 1);
}

// A policy whose line the reader would refuse (a long serial number) is not written: the file stays
// readable by the next run.
TEST_F(PolicyMakerTest, GeneratedLineLongerThanTheReaderTakesIsRefused) {
    WriteWholeFile(outputPath(), "; kept\n");
    controllers.add(configuredQ4());
    settings.serialNumber = CString(std::string(230, 'S'));
    EXPECT_FALSE(make());
    EXPECT_EQ(lastErrorReport(out),
              "Controller 1 (Vaultix-Q4) -- Generated policy line longer than 254 characters:  "
              "; * System serial number:     " +
                  std::string(230, 'S') + "\n");
    EXPECT_EQ(ReadWholeFile(outputPath()), "; kept\n");
    EXPECT_EQ(temporaryFiles(), 0);

    settings.serialNumber = CString(std::string(224, 'S'));
    EXPECT_TRUE(make()) << out << "a header line of 254 characters";
    settings.serialNumber = CString(std::string(200, 'S'));
    settings.machineType = CString(std::string(200, 'M'));
    settings.applicabilityTemplate = "s,m";
    EXPECT_FALSE(make());
    EXPECT_EQ(lastErrorReport(out), "Controller 1 (Vaultix-Q4) -- Generated policy line longer than 254 "
                                    "characters:  AppliesTo.1 = s:" +
                                        std::string(200, 'S') + ",m:" + std::string(200, 'M') + "\n");
}

TEST_F(PolicyMakerTest, ExistingFileWithErrorsIsRefused) {
    WriteWholeFile(outputPath(), "[Policy.Bad]\nAppliesTo.1 = c:0\n");
    controllers.add(configuredQ4());
    EXPECT_FALSE(make());
    EXPECT_NE(out.find("Invalid controller number"), std::string::npos) << out;
    EXPECT_EQ(ReadWholeFile(outputPath()), "[Policy.Bad]\nAppliesTo.1 = c:0\n");
}

// Each failure is reported with the Part's line and a line naming the file with the system's reason; the
// output file stays as it was and no temporary file is left.
TEST_F(PolicyMakerTest, FileSystemFailuresAreReported) {
    const CString path = "/out.ini";
    controllers.add(configuredQ4());
    const std::string existing = "[Policy.Old]\nAppliesTo.1 = ALL\n";
    struct Case {
        MemoryFileSystem::Call call;
        int nth;
        const char* path;
        std::string report;
    };
    const Case cases[] = {
        {MemoryFileSystem::Call::OpenForWriting, 0, "",
         "Could not write to temp space.  KLAMP requires temp space to run.\n/out.ini: Disk quota "
         "exceeded\n"},
        {MemoryFileSystem::Call::Write, 0, "",
         "Error writing to policies file.\nWarning: Partial data may have been written.\n"
         "/out.ini: Disk quota exceeded\n"},
        {MemoryFileSystem::Call::RenameFile, 0, "",
         "Error writing to policies file.\nWarning: Partial data may have been written.\n"
         "/out.ini: Disk quota exceeded\n"},
        // The second reading of the file: the first is the check of its policies.
        {MemoryFileSystem::Call::OpenForReading, 2, "/out.ini",
         "Could not open policies file:  /out.ini\n/out.ini: Disk quota exceeded\n"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        files.AddFile("/out.ini", existing);
        ScopedFileSystem scoped(files);
        OutputFile output(path, "KLAMPM~~");
        ASSERT_TRUE(output.open(settings));
        files.FailCall(c.call, c.nth, c.path, "Disk quota exceeded");
        ConsoleCapture capture;
        EXPECT_FALSE(PolicyMaker(settings, path).makePolicies(controllers, output));
        EXPECT_EQ(lastErrorReport(capture.Out()), c.report);
        EXPECT_EQ(files.Content("/out.ini"), existing);
        EXPECT_EQ(files.AllPaths(), (std::vector<std::string>{"/", "/out.ini", "/out.ini.lock"}));
    }
}

} // namespace
