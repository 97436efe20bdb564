#include "Scenario.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A status line of the log: the date and time, then the text.
const char* const kStatusLogLine =
    R"([0-9]{1,2}/[0-9]{1,2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2} (AM|PM) - .+)";

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    WriteWholeFile(path.string(), bytes);
}

void CopyFolder(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void RunEarlier(const Command& command) {
    ProgramResult run = RunPlain(command);
    ASSERT_EQ(run.status, 0) << "an earlier run to prepare the tree failed:\n" << run.out << run.err;
}

// Bytes that tell the editions of a driver set apart everywhere, at least size of them.
std::string Payload(const std::string& what, const std::string& edition, size_t size) {
    std::string bytes;
    for (int block = 0; bytes.size() < size; ++block)
        bytes += what + " of driver set " + edition + ", block " + std::to_string(block) + "\n";
    return bytes;
}

void WriteDriver(const fs::path& set, const std::string& folder, const std::string& edition,
                 const std::string& keys, const std::vector<std::pair<std::string, size_t>>& files) {
    Write(set / folder / "DrvInfo.ini", "[Driver Information]\nDescription = " + folder + " driver " +
                                            edition + "\nInstallation Mode = Textmode\n" + keys);
    for (const auto& [name, size] : files)
        Write(set / folder / name, Payload(folder + "/" + name, edition, size));
}

// Four drivers: two tagged for ADS, one for no machine type that the sweeps ask for, and one large file.
void WriteDriverSet(const fs::path& set, const std::string& edition) {
    Write(set / "DrvSet.ini", "; Driver set " + edition +
                                  "\n[Main]\nDescription = Trust test drivers\n"
                                  "Supported Systems = 7100,8832,8840\n");
    Write(set / "readme.txt", Payload("readme", edition, 60));
    WriteDriver(set, "01-chipset", edition, "Category = System\nSupported Systems = 7100,8840\n",
                {{"chipset.inf", 90}, {"chipset.sys", 40000}});
    WriteDriver(set, "02-raid", edition,
                "Category = Storage\nRequired For ADS = True\nSupported Systems = 8832,8840\n",
                {{"raid.inf", 70}, {"raid.sys", 300}, {"x64/raid.sys", 310}});
    WriteDriver(set, "03-nic", edition,
                "Category = Network\nRequired For ADS = Yes\nUnsupported Systems = 7100\n",
                {{"nic.sys", 200}, {"notes.txt", 50}});
    WriteDriver(set, "04-legacy", edition, "Category = Storage\nSupported Systems = 7100\n",
                {{"legacy.sys", 80}});
}

Command Drvstage(const fs::path& root, const std::string& source, std::vector<std::string> switches) {
    std::vector<std::string> arguments = {(root / source).string(), (root / "dst").string()};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    return {BuiltProgram("drvstage"), arguments, ""};
}

Command Arrayplan(const fs::path& root) {
    return {BuiltProgram("arrayplan"),
            {"/ini:" + (root / "in/inventory.ini").string(), "/inp:" + (root / "in/policies.ini").string(),
             "/outi:" + (root / "out/out-inventory.ini").string(),
             "/outp:" + (root / "out/out-policies.ini").string(), "/raid:" + (root / "raid").string()},
            ""};
}

// The sample kit's media, editions and the item files that no copy of these cases saves into.
std::vector<std::string> KitInputs() {
    return {"kit/media",
            "kit/dostk",
            "kit/winpetk",
            "kit/linuxtk",
            "kit/stagedesk/xml/sdlocal_en.xml",
            "kit/stagedesk/xml/backupagent.xml",
            "kit/stagedesk/xml/drvpack.xml",
            "kit/stagedesk/xml/raidutil.xml",
            "kit/stagedesk/xml/winpe.xml"};
}

Command Stagedesk(const fs::path& root, const std::string& task, const std::string& item,
                  const std::string& source, const std::string& destination, const std::string& input) {
    return {BuiltProgram("stagedesk"),
            {"--console", "--home", (root / "kit/stagedesk").string(), "--task", task, "--item", item,
             "--source", (root / "kit/media" / source).string(), "--dest", destination, "--yes"},
            input};
}

} // namespace

Scenario ArrayplanOverExistingOutputs() {
    Scenario scenario;
    scenario.name = "arrayplan_over_existing_outputs";
    scenario.prepare = [](const fs::path& root) {
        Write(root / "in/inventory.ini", ReadWholeFile(KIT_SOURCE_DIR "/examples/arrayplan/inventory.ini"));
        Write(root / "in/policies.ini", ReadWholeFile(KIT_SOURCE_DIR "/examples/arrayplan/policies.ini"));
        CopyFolder(KIT_SOURCE_DIR "/data/raid", root / "raid");
        fs::create_directories(root / "out");
        // Three earlier runs fill the output policy file beyond one page of memory, so that the next run's
        // policies need more room than the file had.
        for (int run = 0; run < 3; ++run)
            RunEarlier(Arrayplan(root));
        Write(root / "out/out-inventory.ini",
              "[System]\nMachine_Type = 7100\n; captured for another server\n");
    };
    scenario.command = Arrayplan;
    scenario.inputs = {"in", "raid"};
    scenario.appendedTo = {"out/out-policies.ini"};
    scenario.masksRunDates = true;
    return scenario;
}

Scenario DrvstageOverAnEarlierStaging() {
    Scenario scenario;
    scenario.name = "drvstage_over_an_earlier_staging";
    scenario.prepare = [](const fs::path& root) {
        WriteDriverSet(root / "src", "2.0");
        RunEarlier(Drvstage(root, "src", {"/M:7100"}));
    };
    scenario.command = [](const fs::path& root) { return Drvstage(root, "src", {"/M:8832,8840"}); };
    scenario.inputs = {"src"};
    scenario.copies = {{"dst", "src"}};
    return scenario;
}

Scenario DrvstageOnOneThreadOverAnEarlierStaging() {
    Scenario scenario = DrvstageOverAnEarlierStaging();
    scenario.name = "drvstage_on_one_thread_over_an_earlier_staging";
    scenario.command = [](const fs::path& root) { return Drvstage(root, "src", {"/M:8832,8840", "/MT:1"}); };
    return scenario;
}

Scenario DrvstageAdsIntoAFilledDestination() {
    Scenario scenario;
    scenario.name = "drvstage_ads_into_a_filled_destination";
    scenario.prepare = [](const fs::path& root) {
        WriteDriverSet(root / "old", "1.0");
        RunEarlier(Drvstage(root, "old", {"/ADS"}));
        fs::remove_all(root / "old");
        Write(root / "dst/keep.txt", "The administrator's own notes on this staging.\n");
        WriteDriverSet(root / "src", "2.0");
    };
    scenario.command = [](const fs::path& root) { return Drvstage(root, "src", {"/ADS"}); };
    scenario.inputs = {"src"};
    scenario.copies = {{"dst", "src", true}};
    return scenario;
}

Scenario DrvstageIntoANewDestination() {
    Scenario scenario;
    scenario.name = "drvstage_into_a_new_destination";
    scenario.prepare = [](const fs::path& root) { WriteDriverSet(root / "src", "2.0"); };
    scenario.command = [](const fs::path& root) { return Drvstage(root, "src", {"/M:8832,8840"}); };
    scenario.inputs = {"src"};
    scenario.copies = {{"dst", "src"}};
    return scenario;
}

Scenario DrvstageUpdateOfAnOlderStaging() {
    Scenario scenario;
    scenario.name = "drvstage_update_of_an_older_staging";
    scenario.prepare = [](const fs::path& root) {
        WriteDriverSet(root / "src", "2.0");
        RunEarlier(Drvstage(root, "src", {"/M:7100"}));
        // The same size: only its time tells the change.
        Write(root / "src/01-chipset/chipset.inf", Payload("01-chipset/chipset.inf", "2.1", 90));
        Write(root / "dst/01-chipset/old-notes.txt", "Notes that the driver set no longer holds.\n");
    };
    scenario.command = [](const fs::path& root) { return Drvstage(root, "src", {"/M:8832,8840", "/INC"}); };
    scenario.inputs = {"src"};
    scenario.copies = {{"dst", "src"}};
    return scenario;
}

Scenario StagedeskUtilityOverAnEarlierCopy() {
    Scenario scenario;
    scenario.name = "stagedesk_utility_over_an_earlier_copy";
    scenario.prepare = [](const fs::path& root) {
        CopyFolder(KIT_SOURCE_DIR "/examples/kit", root / "kit");
        Write(root / "kit/utils/RAIDUTIL/RAIDCFG.EXE", "RAIDCFG 0.9, copied from an older disc\n");
        Write(root / "kit/utils/RAIDUTIL/OLD.TXT", "Notes of the older disc\n");
    };
    scenario.command = [](const fs::path& root) {
        return Stagedesk(root, "utilities", "Sample RAID Utility", "raidutil", "RAIDUTIL", "");
    };
    scenario.inputs = KitInputs();
    scenario.inputs.push_back("kit/stagedesk/xml/srv2003.xml");
    scenario.editedInPlace = {"kit/stagedesk/xml/stagedesk.xml"};
    scenario.copies = {{"kit/utils/RAIDUTIL", "kit/media/raidutil/utils"}};
    scenario.journals = {"kit/stagedesk/logs/stagedesk.log"};
    scenario.journalLine = kStatusLogLine;
    scenario.resumeRecords = {"kit/utils/RAIDUTIL.sha256.partial"};
    return scenario;
}

Scenario StagedeskTwoDiscsSavingTheItemFile(bool needsNoSpace) {
    Scenario scenario;
    scenario.name = "stagedesk_two_discs_saving_the_item_file";
    scenario.prepare = [needsNoSpace](const fs::path& root) {
        CopyFolder(KIT_SOURCE_DIR "/examples/kit", root / "kit");
        if (!needsNoSpace)
            return;
        const fs::path item = root / "kit/stagedesk/xml/srv2003.xml";
        std::string text = ReadWholeFile(item.string());
        const std::string size = "<size>2</size>";
        ASSERT_NE(text.find(size), std::string::npos) << item;
        WriteWholeFile(item.string(), text.replace(text.find(size), size.size(), "<size>0</size>"));
    };
    // The second disc is asked for and found in the same folder.
    scenario.command = [](const fs::path& root) {
        return Stagedesk(root, "os", "Sample Server 2003", "srv2003_dvd", "W2K3", "o\n");
    };
    scenario.inputs = KitInputs();
    scenario.editedInPlace = {"kit/stagedesk/xml/stagedesk.xml"};
    scenario.copies = {{"kit/os/W2K3", "kit/media/srv2003_dvd"}};
    scenario.journals = {"kit/stagedesk/logs/stagedesk.log"};
    scenario.journalLine = kStatusLogLine;
    scenario.resumeRecords = {"kit/os/W2K3.sha256.partial"};
    return scenario;
}
