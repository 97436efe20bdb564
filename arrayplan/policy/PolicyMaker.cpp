#include "arrayplan/policy/PolicyMaker.h"

#include "arrayplan/frontend/RunSettings.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/policy/GeneratedPolicy.h"
#include "arrayplan/policy/PolicyReader.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/platform/FileSystem.h"

#include <cstdio>
#include <ctime>
#include <random>

namespace {

constexpr size_t kCopyBlock = 50;
constexpr int kNameAttempts = 64;
constexpr const char* kKeptName = "KLAMPM~~.TMP";
constexpr int kKeptTrace = 1290;

// "KLAMPM~~" and a random part: each run creates its own file and never opens another run's.
std::string temporaryName(const CString& directory) {
    static std::mt19937 generator{std::random_device{}() ^ static_cast<unsigned>(std::time(nullptr))};
    char name[32];
    std::snprintf(name, sizeof name, "KLAMPM~~%08X.TMP", static_cast<unsigned>(generator()));
    return directory.Str() + name;
}

bool writeText(File& file, const std::string& text) {
    return file.Write(text.data(), text.size()) == text.size();
}

void currentDateAndTime(char (&date)[16], char (&time)[16]) {
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr || std::strftime(date, sizeof date, "%m/%d/%Y", local) == 0 ||
        std::strftime(time, sizeof time, "%H:%M:%S", local) == 0) {
        std::snprintf(date, sizeof date, "00/00/0000");
        std::snprintf(time, sizeof time, "00:00:00");
    }
}

} // namespace

PolicyMaker::PolicyMaker(RunSettings& settings) : settings_(settings) {}

bool PolicyMaker::makePolicies(const ControllerList& controllers) {
    if (!readExistingPolicies())
        return false;
    settings_.printLeveled("Generating policies from captured configurations ...\n", 3);
    machineType_ = settings_.machineType;
    serialNumber_ = settings_.serialNumber;
    std::unique_ptr<File> file;
    if (!createTemporaryFile(file))
        return false;
    for (int index = 0; const RaidController* controller = controllers.at(index); ++index) {
        if (!writeControllerPolicy(*file, *controller, index + 1)) {
            file->Close();
            removeTemporaryFile();
            return false;
        }
    }
    if (!file->Close()) {
        removeTemporaryFile();
        return false;
    }
    bool appended = !written_ || appendTemporaryFile();
    removeTemporaryFile();
    return appended;
}

// The file as it is now, read leniently (a missing or empty file holds no policies).
bool PolicyMaker::readExistingPolicies() {
    settings_.printLeveled(
        formatText("Checking syntax of current policies file: %s ...\n", settings_.policyFilePath.Text())
            .c_str(),
        3);
    bool wasOptional = settings_.policyFileOptional;
    settings_.policyFileOptional = true;
    PolicyReader reader(settings_);
    bool read = reader.read();
    settings_.policyFileOptional = wasOptional;
    if (!read)
        return false;
    for (int i = 0; const Policy* policy = reader.policyList().at(i); ++i)
        names_.push_back(policy->name);
    return true;
}

bool PolicyMaker::createTemporaryFile(std::unique_ptr<File>& file) {
    for (int attempt = 0; attempt < kNameAttempts && file == nullptr; ++attempt) {
        temporaryPath_ = temporaryName(settings_.raidDirectory);
        file = CurrentFileSystem().CreateNewFile(temporaryPath_);
    }
    if (file != nullptr)
        return true;
    temporaryPath_.clear();
    settings_.reportError("Could not write to temp space.  KLAMP requires temp space to run.\n");
    return false;
}

bool PolicyMaker::writeControllerPolicy(File& file, const RaidController& controller, int controllerNumber) {
    if (controller.configuration() == nullptr) {
        settings_.printLeveled(
            formatText("\tSkipped controller %d -- controller is not configured.\n", controllerNumber)
                .c_str(),
            3);
        return true;
    }
    written_ = true;
    const char* model = controller.modelName();
    CString name = generatedPolicyName(model, names_);
    names_.push_back(name);
    GeneratedPolicyFacts facts{machineType_, serialNumber_, settings_.applicabilityTemplate,
                               controllerNumber};
    char date[16], time[16];
    currentDateAndTime(date, time);
    if (!writeText(file, generatedPolicyHeader(facts, model, date, time)))
        return false;
    settings_.printLeveled(formatText("\tController %d:  %s\n", controllerNumber, model).c_str(), 5);
    settings_.printLeveled(("\t\tGenerating policy:  " + name + "\n").Text(), 5);
    std::string appliesTo;
    if (!applicabilityValue(facts, controller, appliesTo)) {
        settings_.reportError(
            ("Improper syntax for the following parameter:  " + settings_.applicabilityTemplate + "\n")
                .Text());
        return false;
    }
    return writeText(file, generatedPolicyBody(controller, name, appliesTo));
}

bool PolicyMaker::appendTemporaryFile() {
    std::unique_ptr<File> output = CurrentFileSystem().OpenFile(settings_.policyFilePath.Str(), "a");
    if (output == nullptr) {
        settings_.reportError(
            ("Could not open policies file for writing:  " + settings_.policyFilePath).Text());
        return false;
    }
    std::unique_ptr<File> input = CurrentFileSystem().OpenFile(temporaryPath_, "r");
    bool copied = input != nullptr && copyInBlocks(*input, *output);
    if (input != nullptr)
        input->Close();
    if (!output->Close() || !copied) {
        settings_.reportError(
            "Error writing to policies file.\nWarning: Partial data may have been written.\n");
        return false;
    }
    return true;
}

bool PolicyMaker::copyInBlocks(File& from, File& to) {
    char block[kCopyBlock];
    bool readError = false;
    while (size_t count = from.Read(block, sizeof block, readError)) {
        if (to.Write(block, count) != count)
            return false;
    }
    return !readError;
}

// With "/debug" the temporary file stays for inspection, under the one name "KLAMPM~~.TMP", which the
// last debug run replaces whole, so that debug runs do not pile up files in the support folder.
void PolicyMaker::removeTemporaryFile() {
    if (temporaryPath_.empty())
        return;
    if (!settings_.debug)
        CurrentFileSystem().DeleteFile(temporaryPath_);
    else if (!CurrentFileSystem().RenameFile(temporaryPath_, settings_.raidDirectory.Str() + kKeptName))
        settings_.debugTrace(kKeptTrace, ("Temporary file kept: " + temporaryPath_).c_str());
    temporaryPath_.clear();
}
