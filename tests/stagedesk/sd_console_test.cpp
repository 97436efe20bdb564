// The console mode end to end: the built program on a copy of the sample kit.
#include "sd_fakes.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class ConsoleMode : public testing::Test {
protected:
    void SetUp() override {
        fs::copy(fs::path(KIT_SOURCE_DIR) / "examples/kit", dir.Path() / "kit", fs::copy_options::recursive);
    }
    ProgramResult Run(std::vector<std::string> args, const std::string& input = "") {
        args.insert(args.begin(), {"--console", "--home", "kit/stagedesk"});
        return RunProgram(BuiltProgram("stagedesk"), args, dir.Path().string(), input);
    }
    bool Exists(const std::string& relative) const { return fs::exists(dir.Path() / relative); }
    // The names of the files in a folder, sorted.
    std::vector<std::string> Files(const std::string& relative) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path() / relative))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
};

const std::vector<std::string> kRaidUtility = {
    "--task",   "utilities",          "--item", "Sample RAID Utility",
    "--source", "kit/media/raidutil", "--dest", "RAIDUTIL"};

bool Has(const ProgramResult& result, const std::string& text) {
    return result.out.find(text) != std::string::npos;
}

TEST_F(ConsoleMode, CopiesTheSampleItems) {
    ProgramResult os = Run({"--task", "os", "--item", "Sample Server 2003", "--source",
                            "kit/media/srv2003_dvd", "--dest", "W2K3"});
    EXPECT_EQ(os.status, 0) << os.out;
    EXPECT_TRUE(Has(os, " - Checking for available drive space...\n"));
    EXPECT_TRUE(Has(os, " - File copy process completed successfully.\n"));
    EXPECT_TRUE(Exists("kit/os/W2K3/i386/system32/NTOSKRNL.EX_"));
    EXPECT_TRUE(Exists("kit/os/W2K3/cmpnents/r2/SETUP2.EXE"));
    EXPECT_NE(dir.Read("kit/stagedesk/xml/stagedesk.xml").find("<dos_toolkit_installed>Yes<"),
              std::string::npos);

    ProgramResult drivers = Run({"--task", "drivers", "--item", "Sample Driver Pack", "--source",
                                 "kit/media/drvpack", "--dest", "DRVPK1"});
    EXPECT_EQ(drivers.status, 0) << drivers.out;
    EXPECT_TRUE(Exists("kit/drvs/DRVPK1/nic/SNIC.SYS"));
    EXPECT_TRUE(Exists("kit/drvs/DRVPK1/tools/LOADDRV.BAT"));
    EXPECT_TRUE(Exists("kit/drvs/DRVPK1/tools/version.ini"));
    EXPECT_TRUE(Exists("kit/drvs/DRVPK1/logs"));

    // No 8.3 question for pre-boot files, and a long name is fine with WinPE installed.
    ProgramResult preboot = Run({"--task", "preboot", "--item", "Sample WinPE 2005", "--source",
                                 "kit/media/winpe", "--dest", "WinPE2005SP1"});
    EXPECT_EQ(preboot.status, 0) << preboot.out;
    EXPECT_FALSE(Has(preboot, "Incompatible Destination Path"));
    EXPECT_TRUE(Exists("kit/WinPE_Source/WinPE2005SP1/i386/SETUPLDR.BIN"));
}

TEST_F(ConsoleMode, QuestionsAreAnsweredOnStandardInput) {
    const std::vector<std::string> utility = {
        "--task",   "utilities",          "--item", "Sample RAID Utility",
        "--source", "kit/media/raidutil", "--dest", "RAIDUTIL"};
    ASSERT_EQ(Run(utility).status, 0);
    ProgramResult refused = Run(utility, "n\n");
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(Has(refused, "Directory Already Exists\nThe Directory specified:\n\n"));
    // The answer read from the pipe is printed, so the next line starts on a line of its own.
    EXPECT_TRUE(Has(refused, "remove this directory?\n[y/n] No\n"));
    EXPECT_TRUE(
        Has(refused, " - Target Directory Already Exists, File Copy Aborted... Click Finish To Exit\n"));
    EXPECT_TRUE(Exists("kit/utils/RAIDUTIL/RAIDCFG.EXE"));

    std::vector<std::string> yes = utility;
    yes.push_back("--yes");
    ProgramResult replaced = Run(yes);
    EXPECT_EQ(replaced.status, 0) << replaced.out;
    EXPECT_TRUE(Has(replaced, "must be deleted. Would you like to remove this directory?\nYes\n"));

    const std::vector<std::string> longName = {
        "--task",   "drivers",           "--item", "Sample Driver Pack",
        "--source", "kit/media/drvpack", "--dest", "DRIVERS99"};
    ProgramResult declined = Run(longName, "maybe\nn\n");
    EXPECT_EQ(declined.status, 2);
    EXPECT_TRUE(
        Has(declined, "Incompatible Destination Path\nThe destination path selected is not 8.3 compliant."));
    EXPECT_TRUE(Has(declined, "[y/n] maybe\n[y/n] No\n"));
    EXPECT_FALSE(Exists("kit/drvs/DRIVERS99"));
    EXPECT_EQ(Run(longName, "y\n").status, 0);
    EXPECT_TRUE(Exists("kit/drvs/DRIVERS99/DrvSet.ini"));
}

TEST_F(ConsoleMode, RefusalsAndTheirStatuses) {
    auto run = [&](const std::string& task, const std::string& item, const std::string& source,
                   const std::string& dest) {
        return Run({"--task", task, "--item", item, "--source", source, "--dest", dest});
    };
    EXPECT_EQ(run("games", "x", "kit/media", "X").status, 2);
    ProgramResult unknown = run("os", "Nonexistent OS", "kit/media", "X");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(Has(unknown, "Sample Server 2003")); // the items that exist are listed
    ProgramResult bad = run("os", "Sample Server 2003", "kit/media/srv2003_dvd", "a|b");
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(Has(bad, "Invalid Characters Used\nA directory name may not contain any of the following:"));
    ProgramResult dots = Run({"--task", "os", "--item", "Sample Server 2003", "--source",
                              "kit/media/srv2003_dvd", "--dest", "..", "--yes"});
    EXPECT_EQ(dots.status, 2);
    EXPECT_TRUE(Has(dots, "Invalid Characters Used\n"));
    EXPECT_TRUE(Exists("kit/stagedesk/xml/stagedesk.xml"));
    ProgramResult missing = run("os", "Sample Server 2003", "kit/media/none", "W2K3");
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(Has(missing,
                    "Directory Does Not Exist\nThe selected directory:\n\nkit/media/none\n\nDoes not "
                    "exist. Please choose a different directory.\n"));
    EXPECT_EQ(Run({"--task", "os"}).status, 2);
    EXPECT_EQ(Run({"--task", "os", "--colour", "red"}).status, 2);

    // Without WinPE the applications are not offered and names stay within 8 characters.
    fs::remove(dir.Path() / "kit/winpetk/version.ini");
    EXPECT_EQ(run("applications", "Sample Backup Agent", "kit/media/backupagent", "BKAGENT").status, 2);
    ProgramResult tooLong = run("utilities", "Sample RAID Utility", "kit/media/raidutil", "RAIDUTIL9");
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_FALSE(Has(tooLong, "Incompatible Destination Path"));

    // A disc that is not the item's: the insert prompt, and Cancel (end of input) aborts.
    ProgramResult wrongDisc = run("utilities", "Sample RAID Utility", "kit/media/winpe", "RAIDUTIL");
    EXPECT_EQ(wrongDisc.status, 3);
    EXPECT_TRUE(Has(wrongDisc, "Insert Disc...\nPlease insert Sample RAID Utility CD disc 1\n"));
    EXPECT_TRUE(Has(wrongDisc, " - File Copy Aborted... Click Finish To Exit\n"));

    fs::remove(dir.Path() / "kit/stagedesk/xml/sdlocal_en.xml");
    ProgramResult startup = run("os", "Sample Server 2003", "kit/media/srv2003_dvd", "W2K3");
    EXPECT_EQ(startup.status, 1);
    EXPECT_TRUE(Has(startup, "Error Opening File\nThere was an error opening the localization file."));
}

// The copy would remove the source before reading it: refused, and nothing is removed.
TEST_F(ConsoleMode, ASourceThatTheCopyRemovesIsRefused) {
    ASSERT_EQ(Run(kRaidUtility).status, 0);
    fs::copy(dir.Path() / "kit/media/raidutil", dir.Path() / "kit/utils/RAIDUTIL/media",
             fs::copy_options::recursive);
    ProgramResult inside = Run({"--task", "utilities", "--item", "Sample RAID Utility", "--source",
                                "kit/utils/RAIDUTIL/media", "--dest", "RAIDUTIL", "--yes"});
    EXPECT_EQ(inside.status, 2);
    EXPECT_TRUE(Has(inside, "Source Directory Would Be Removed\nThe selected directory:\n\n" +
                                (dir.Path() / "kit/utils/RAIDUTIL/media").string() +
                                "\n\nis, or lies inside, the directory:\n\n" +
                                (dir.Path() / "kit/utils/RAIDUTIL").string() + "\n\n"))
        << inside.out;
    EXPECT_FALSE(Has(inside, "Directory Already Exists"));
    EXPECT_TRUE(Exists("kit/utils/RAIDUTIL/media/utils/RAIDCFG.EXE"));

    // The driver pack's pre-processing removes the destination's ".old" folder.
    fs::create_directories(dir.Path() / "kit/drvs");
    fs::copy(dir.Path() / "kit/media/drvpack", dir.Path() / "kit/drvs/DRVPK1.old",
             fs::copy_options::recursive);
    ProgramResult old = Run({"--task", "drivers", "--item", "Sample Driver Pack", "--source",
                             "kit/drvs/DRVPK1.old", "--dest", "DRVPK1"});
    EXPECT_EQ(old.status, 2);
    EXPECT_TRUE(
        Has(old, "is, or lies inside, the directory:\n\n" + (dir.Path() / "kit/drvs/DRVPK1.old").string()));
    EXPECT_FALSE(Has(old, "Checking for available drive space"));
    EXPECT_TRUE(Exists("kit/drvs/DRVPK1.old/drivers/DrvSet.ini"));
}

#ifndef _WIN32
// Writes that fail as on a full disk: the configuration keeps every byte, and the run ends saying why.
TEST_F(ConsoleMode, AFailedSaveAtStartUpKeepsTheConfiguration) {
    const std::string configuration = "kit/stagedesk/xml/stagedesk.xml";
    const std::string before = dir.Read(configuration);
    const std::vector<std::string> sample = Files("kit/stagedesk/xml");
    ProgramResult failed;
    {
        FileSizeLimit full(0);
        failed = Run(kRaidUtility);
    }
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(Has(failed, "File Write Error\nThe file " + (dir.Path() / configuration).string() +
                                " could not be saved: File too large\n"))
        << failed.out;
    EXPECT_EQ(dir.Read(configuration), before);
    EXPECT_FALSE(Exists("kit/utils/RAIDUTIL"));
    EXPECT_EQ(Files("kit/stagedesk/xml"), sample); // no temporary file

    EXPECT_EQ(Run(kRaidUtility).status, 0);
}

// The size limit's signal kills the program at its first write past 128 KiB, in the middle of the last
// file: every file under a real name is complete (the earlier ones may still have been waiting under
// temporary names, as the copy writes ahead), and the cut one has no real name until a later run copies
// it.
TEST_F(ConsoleMode, ACopyKilledMidwayLeavesNoCutFileUnderARealName) {
    const std::string big(1 << 20, 'x');
    dir.Write("kit/media/raidutil/utils/ZBIG.BIN", big);
    std::signal(SIGXFSZ, SIG_DFL); // as a program normally starts
    std::vector<std::string> limited = {
        "-c",           "ulimit -f 256; exec \"$0\" \"$@\"", BuiltProgram("stagedesk"), "--console", "--home",
        "kit/stagedesk"};
    limited.insert(limited.end(), kRaidUtility.begin(), kRaidUtility.end());
    ProgramResult killed = RunProgram("/bin/sh", limited, dir.Path().string());
    EXPECT_EQ(killed.status, -1) << killed.out;

    const std::vector<std::string> names = Files("kit/utils/RAIDUTIL");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names.back().substr(0, 3), "~sd");
    for (const std::string& name : names) {
        if (name.substr(0, 3) != "~sd") {
            EXPECT_EQ(dir.Read("kit/utils/RAIDUTIL/" + name), dir.Read("kit/media/raidutil/utils/" + name));
        }
    }
    EXPECT_FALSE(Exists("kit/utils/RAIDUTIL/ZBIG.BIN"));
    EXPECT_NE(dir.Read("kit/stagedesk/xml/stagedesk.xml").find("</stagedesk>"), std::string::npos);

    std::vector<std::string> again = kRaidUtility;
    again.push_back("--yes");
    ProgramResult rerun = Run(again);
    EXPECT_EQ(rerun.status, 0) << rerun.out;
    EXPECT_EQ(dir.Read("kit/utils/RAIDUTIL/ZBIG.BIN"), big);
    EXPECT_EQ(Files("kit/utils/RAIDUTIL"),
              (std::vector<std::string>{"RAIDCFG.EXE", "README.TXT", "ZBIG.BIN"}));
}
#endif

} // namespace
