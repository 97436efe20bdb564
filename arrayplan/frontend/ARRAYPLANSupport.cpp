#include "arrayplan/frontend/ARRAYPLANSupport.h"

#include "arrayplan/frontend/SameFile.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/FileCheck.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/model/JsonReport.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/ResultCodes.h"
#include "arrayplan/planner/Explanation.h"
#include "arrayplan/planner/PolicyConverter.h"
#include "arrayplan/policy/ConfigurationStep.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyMaker.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"
#include "foundation/FileReplacement.h"
#include "foundation/SwitchParser.h"

#include <vector>

namespace {

// How the temporary files of each output start, beside it; the output's own name follows.
constexpr const char* kInventoryPrefix = "~arrayplan~";
constexpr const char* kPolicyPrefix = "KLAMPM~~";
constexpr const char* kReportPrefix = "~arrayplan-json~";

// The first of inputs that is the file of output, reported: an output written over it would destroy it.
bool reportsSharedFile(const RunSettings& settings, const NamedFile& output,
                       const std::vector<NamedFile>& inputs) {
    for (const NamedFile& input : inputs) {
        if (!sameFile(settings.fileSystem(), output.path, input.path))
            continue;
        std::string named = std::string(input.switchName) == "/raid:"
                                ? "the support file " + input.path.Str() + " of /raid:"
                                : "the file of " + std::string(input.switchName) + input.path.Str();
        settings.printErrorForm((std::string(output.switchName) + output.path.Str() + " is " + named +
                                 "; an output file must not replace an input or the other output.\n")
                                    .c_str());
        return true;
    }
    return false;
}

} // namespace

ARRAYPLANSupport::ARRAYPLANSupport(Console& console, FileSystem& fileSystem)
    : settings_(console, fileSystem) {}
ARRAYPLANSupport::~ARRAYPLANSupport() = default;

int ARRAYPLANSupport::run(int argc, const char* const* argv) {
    // Asking for help is never an error, whatever else the command line holds.
    if (argc <= 1 || asksForHelp(argc, argv))
        return showUsage();
    int exitStatus = 0;
    if (!readCommandLine(argc, argv, exitStatus))
        return exitStatus;
    echoSettings();
    int status = runSteps();
    explain();
    return status;
}

int ARRAYPLANSupport::run(const CommandLine& line, const SharedInputs& shared) {
    line_ = line;
    shared_ = &shared;
    settings_.raidDirectory = line_.raidDirectory;
    settings_.debug = line_.debug;
    settings_.supportFiles = shared.supportFiles;
    echoSettings();
    return runSteps();
}

int ARRAYPLANSupport::showUsage() {
    printBannerAndUsage(settings_.console());
    return 0;
}

bool ARRAYPLANSupport::readCommandLine(int argc, const char* const* argv, int& exitStatus) {
    int result = parseCommandLine(argc, argv, line_);
    if (result == SwitchParser::kParsed) {
        settings_.raidDirectory = line_.raidDirectory;
        settings_.debug = line_.debug;
        return true;
    }
    if (result == SwitchParser::kInternalError)
        settings_.printErrorForm("Internal error processing command-line switches.\n");
    else
        settings_.printErrorForm(resultMessage(ResultCode::UnknownParameter));
    printBannerAndUsage(settings_.console());
    exitStatus = codeNumber(ResultCode::UnknownParameter);
    return false;
}

void ARRAYPLANSupport::echoSettings() const {
    Console& console = settings_.console();
    console.OutFormat("Input inventory file:  %s \n", line_.inventoryPath.Text());
    console.OutFormat("Input policy file:     %s \n", line_.policyPath.Text());
    console.OutFormat("Output inventory file: %s \n", line_.outputInventoryPath.Text());
    console.OutFormat("Output policy file:    %s \n", line_.outputPolicyPath.Text());
    console.OutFormat("RAID Support Files Directory Path:%s \n", line_.raidDirectory.Text());
}

int ARRAYPLANSupport::runSteps() {
    using Step = bool (ARRAYPLANSupport::*)();
    static const Step kSteps[] = {
        &ARRAYPLANSupport::verifyInputInventory, &ARRAYPLANSupport::processInputInventory,
        &ARRAYPLANSupport::verifyInputPolicy,    &ARRAYPLANSupport::processInputPolicy,
        &ARRAYPLANSupport::findSupportFiles,     &ARRAYPLANSupport::checkOutputsNameNoInput,
        &ARRAYPLANSupport::createConfigurations, &ARRAYPLANSupport::verifyOutputInventory,
        &ARRAYPLANSupport::writeOutputInventory, &ARRAYPLANSupport::verifyOutputPolicy,
        &ARRAYPLANSupport::writeOutputPolicy,
    };
    for (Step step : kSteps) {
        // A fleet check without an output folder plans every inventory and writes nothing for it.
        if (step == &ARRAYPLANSupport::verifyOutputInventory && shared_ && !shared_->writesOutputs)
            break;
        if (!(this->*step)())
            return finish();
    }
    // A report that cannot be written fails a run that has nothing else to report.
    if (!writeReport())
        return finish();
    settings_.printPlain("Validation Completed\n");
    return 0;
}

// The message of the run's code; a failure that recorded no code still ends with a failure status.
int ARRAYPLANSupport::finish() {
    if (errorCode_ != ResultCode::Success)
        (void)writeReport();
    settings_.printErrorForm(resultMessage(errorCode_));
    settings_.printPlain(failureLine_.c_str());
    return failureExitStatus(errorCode_);
}

const PolicyList& ARRAYPLANSupport::policies() const {
    return shared_ ? *shared_->policies : policyReader_->policyList();
}

void ARRAYPLANSupport::explain() const {
    if (line_.explain && configurationsTried_)
        printExplanation(settings_, controllers_, policies(), errorCode_);
}

bool ARRAYPLANSupport::writeReport() {
    if (line_.jsonPath.IsEmpty())
        return true;
    // A run that stopped before its same-file check, or failed it, must still not replace another file.
    for (const NamedFile& file : filesBesideReport()) {
        if (sameFile(settings_.fileSystem(), line_.jsonPath, file.path))
            return true;
    }
    OutputFile report(line_.jsonPath, kReportPrefix);
    std::string text = jsonReport(settings_, controllers_, errorCode_, planningFailure_);
    if (report.open(settings_) && writeJsonReport(report, text))
        return true;
    failureLine_ += report.failureLine();
    return false;
}

bool ARRAYPLANSupport::fail(ResultCode code) {
    errorCode_ = code;
    return false;
}

bool ARRAYPLANSupport::failWithLine(ResultCode code, const std::string& line) {
    failureLine_ = line;
    return fail(code);
}

void ARRAYPLANSupport::dumpControllers() const {
    for (int i = 0; RaidController* controller = controllers_.at(i); ++i)
        controller->dump(settings_.console(), true);
}

bool ARRAYPLANSupport::verifyInputInventory() {
    const CString& path = line_.inventoryPath;
    settings_.console().OutFormat("Verifying input inventory file:%s ...\n", path.Text());
    std::string reason;
    if (checkFile(settings_, "r", path, &reason))
        return true;
    return path.IsEmpty() ? fail(ResultCode::InputInventoryUnopenable)
                          : failWithLine(ResultCode::InputInventoryUnopenable, failureLine(path, reason));
}

bool ARRAYPLANSupport::processInputInventory() {
    settings_.printPlain("Processing input inventory file ...\n");
    if (ResultCode code = loadInventory(settings_, line_.inventoryPath, controllers_);
        code != ResultCode::Success)
        return fail(code);
    if (settings_.debug)
        dumpControllers();
    return true;
}

bool ARRAYPLANSupport::verifyInputPolicy() {
    const CString& path = line_.policyPath;
    settings_.console().OutFormat("Verifying input policy file:%s ...\n", path.Text());
    std::string reason;
    if (checkFile(settings_, "r", path, &reason))
        return true;
    return path.IsEmpty() ? fail(ResultCode::InputPolicyUnopenable)
                          : failWithLine(ResultCode::InputPolicyUnopenable, failureLine(path, reason));
}

bool ARRAYPLANSupport::processInputPolicy() {
    settings_.printPlain("Processing input policy file ...\n");
    if (shared_)
        return shared_->policies != nullptr || fail(ResultCode::PolicyUnparsable);
    policyReader_ = std::make_unique<PolicyReader>(settings_, line_.policyPath, false);
    if (!policyReader_->read())
        return fail(ResultCode::PolicyUnparsable);
    if (settings_.debug)
        policyReader_->dumpAllPolicies();
    return true;
}

bool ARRAYPLANSupport::findSupportFiles() {
    for (int i = 0; RaidController* controller = controllers_.at(i); ++i) {
        CString path = ControllerIni::fileName(settings_.raidDirectory, controller->modelName());
        std::string reason;
        if (!checkFile(settings_, "r", path, &reason)) {
            settings_.console().OutFormat("%s for Controller:%s\n", "Error opening RAID support ini file",
                                          controller->modelName());
            settings_.printPlain(failureLine(path, reason).c_str());
            return fail(ResultCode::ControllerUnsupported);
        }
    }
    return true;
}

std::vector<NamedFile> ARRAYPLANSupport::inputFiles() const {
    std::vector<NamedFile> inputs = {{"/ini:", line_.inventoryPath}, {"/inp:", line_.policyPath}};
    for (int i = 0; RaidController* controller = controllers_.at(i); ++i)
        inputs.push_back(
            {"/raid:", ControllerIni::fileName(settings_.raidDirectory, controller->modelName())});
    return inputs;
}

std::vector<NamedFile> ARRAYPLANSupport::filesBesideReport() const {
    std::vector<NamedFile> files = inputFiles();
    files.push_back({"/outi:", line_.outputInventoryPath});
    files.push_back({"/outp:", line_.outputPolicyPath});
    return files;
}

// Before anything is written: an output that is one of the inputs, or another output, would replace it.
bool ARRAYPLANSupport::checkOutputsNameNoInput() {
    std::vector<NamedFile> inputs = inputFiles();
    NamedFile outputInventory{"/outi:", line_.outputInventoryPath};
    NamedFile outputPolicy{"/outp:", line_.outputPolicyPath};
    std::vector<NamedFile> besideInventory = inputs;
    besideInventory.push_back(outputPolicy);
    if (reportsSharedFile(settings_, outputInventory, besideInventory))
        return fail(ResultCode::OutputInventoryUnopenable);
    if (reportsSharedFile(settings_, outputPolicy, inputs))
        return fail(ResultCode::OutputPolicyUnopenable);
    return line_.jsonPath.IsEmpty() ||
           !reportsSharedFile(settings_, {"/json:", line_.jsonPath}, filesBesideReport()) ||
           fail(ResultCode::Success);
}

bool ARRAYPLANSupport::createConfigurations() {
    settings_.printPlain("Creating KLAMP Configurations ...\n");
    configurationsTried_ = true;
    // Each controller is planned on its own copy of the policy as read.
    PlanPolicy plan = [this](RaidController& controller, Policy& copy) {
        PolicyConverter converter(settings_, copy, controller);
        return converter.runConverter();
    };
    ResultCode code = runConfigurationStep(settings_, controllers_, policies(), plan);
    if (code == ResultCode::Success)
        return true;
    planningFailure_ = code;
    return fail(code);
}

bool ARRAYPLANSupport::verifyOutputInventory() {
    const CString& path = line_.outputInventoryPath;
    settings_.console().OutFormat("Verifying output inventory file:%s ...\n", path.Text());
    outputInventory_ = std::make_unique<OutputFile>(path, kInventoryPrefix);
    return outputInventory_->open(settings_) ||
           failWithLine(ResultCode::OutputInventoryUnopenable, outputInventory_->failureLine());
}

bool ARRAYPLANSupport::writeOutputInventory() {
    settings_.printPlain("Writing output inventory file ...\n");
    bool written = writeInventory(settings_, *outputInventory_, controllers_);
    outputInventory_.reset();
    return written || fail(ResultCode::InventoryUnwritable);
}

bool ARRAYPLANSupport::verifyOutputPolicy() {
    const CString& path = line_.outputPolicyPath;
    settings_.console().OutFormat("Verifying output policy file:%s ...\n", path.Text());
    // Held until the policies are written: runs sharing the file read, check and write it one at a time.
    outputPolicy_ = std::make_unique<OutputFile>(path, kPolicyPrefix);
    return outputPolicy_->open(settings_) ||
           failWithLine(ResultCode::OutputPolicyUnopenable, outputPolicy_->failureLine());
}

bool ARRAYPLANSupport::writeOutputPolicy() {
    settings_.printPlain("Writing output policy file ...\n");
    // Earlier versions kept their temporary file in the support folder; those of killed runs stayed there.
    RemoveStaleReplacements(settings_.fileSystem(), settings_.raidDirectory, kPolicyPrefix);
    PolicyMaker maker(settings_, line_.outputPolicyPath);
    bool made = maker.makePolicies(controllers_, *outputPolicy_);
    outputPolicy_.reset();
    if (made)
        return true;
    settings_.reportError("FORMAT:Error polyMaker->makePolicies ");
    return fail(ResultCode::PolicyUnwritable);
}
