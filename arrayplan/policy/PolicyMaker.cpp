#include "arrayplan/policy/PolicyMaker.h"

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/FileCheck.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/GeneratedPolicy.h"
#include "arrayplan/policy/PolicyReader.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextFormat.h"
#include "foundation/platform/FileSystem.h"

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr size_t kCopyBlock = 64 * 1024;

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

PolicyMaker::PolicyMaker(RunSettings& settings, const CString& path) : settings_(settings), path_(path) {}

bool PolicyMaker::makePolicies(const ControllerList& controllers, OutputFile& output) {
    if (!readExistingPolicies())
        return false;
    settings_.printLeveled("Generating policies from captured configurations ...\n", 3);
    machineType_ = settings_.machineType;
    serialNumber_ = settings_.serialNumber;
    if (!output.begin()) {
        settings_.reportError("Could not write to temp space.  KLAMP requires temp space to run.\n");
        settings_.printPlain(output.failureLine().c_str());
        return false;
    }
    std::string generated;
    for (int index = 0; const RaidController* controller = controllers.at(index); ++index) {
        if (!addControllerPolicy(generated, *controller, index + 1))
            return false;
    }
    if (!written_) {
        output.abandon();
        return true;
    }
    return replaceFile(output, generated);
}

// The file as it is now, read leniently (a missing or empty file holds no policies).
bool PolicyMaker::readExistingPolicies() {
    settings_.printLeveled(
        FormatText("Checking syntax of current policies file: %s ...\n", path_.Text()).c_str(), 3);
    PolicyReader reader(settings_, path_, true);
    if (!reader.read())
        return false;
    for (int i = 0; const Policy* policy = reader.policyList().at(i); ++i)
        names_.push_back(policy->name);
    return true;
}

bool PolicyMaker::addControllerPolicy(std::string& text, const RaidController& controller,
                                      int controllerNumber) {
    if (controller.configuration() == nullptr) {
        settings_.printLeveled(
            FormatText("\tSkipped controller %d -- controller is not configured.\n", controllerNumber)
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
    std::string policy = generatedPolicyHeader(facts, model, date, time);
    settings_.printLeveled(FormatText("\tController %d:  %s\n", controllerNumber, model).c_str(), 5);
    settings_.printLeveled(("\t\tGenerating policy:  " + name + "\n").Text(), 5);
    std::string appliesTo;
    if (!applicabilityValue(facts, controller, appliesTo)) {
        settings_.reportError(
            ("Improper syntax for the following parameter:  " + settings_.applicabilityTemplate + "\n")
                .Text());
        return false;
    }
    policy += generatedPolicyBody(controller, name, appliesTo);
    if (!checkLineLengths(policy, controller, controllerNumber))
        return false;
    text += policy;
    return true;
}

// A line the reader refuses (a long serial number in the header or in "AppliesTo.1") would make the
// whole file unreadable for every later run.
bool PolicyMaker::checkLineLengths(const std::string& text, const RaidController& controller,
                                   int controllerNumber) {
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end - start > kMaxLineLength) {
            settings_.reportError(
                FormatText("Controller %d (%s) -- Generated policy line longer than %zu characters:  %s\n",
                           controllerNumber, controller.modelName(), kMaxLineLength,
                           text.substr(start, end - start).c_str())
                    .c_str());
            return false;
        }
        start = end + 1;
    }
    return true;
}

// The old text first, as it is, then the new policies; the whole replaces the file. A failed write shows
// at the commit, which then leaves the file as it was.
bool PolicyMaker::replaceFile(OutputFile& output, const std::string& generated) {
    if (!copyExistingPolicies(output))
        return false;
    output.contents().Write(generated.data(), generated.size());
    if (output.commit())
        return true;
    settings_.reportError("Error writing to policies file.\nWarning: Partial data may have been written.\n");
    settings_.printPlain(output.failureLine().c_str());
    return false;
}

bool PolicyMaker::copyExistingPolicies(OutputFile& output) {
    if (!output.existedBefore())
        return true;
    FileSystem& fileSystem = settings_.fileSystem();
    std::unique_ptr<File> file = fileSystem.OpenFile(path_.Str(), "r");
    bool readError = file == nullptr;
    char block[kCopyBlock];
    size_t count = 0;
    while (!readError && (count = file->Read(block, sizeof block, readError)) > 0 &&
           output.contents().Write(block, count))
        continue;
    std::string reason = readError ? fileSystem.LastFailureReason() : std::string();
    if (file)
        file->Close();
    if (!readError)
        return true;
    output.abandon();
    settings_.reportError(("Could not open policies file:  " + path_ + "\n").Text());
    settings_.printPlain(failureLine(path_, reason).c_str());
    return false;
}
