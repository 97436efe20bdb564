#include "arrayplan/frontend/ARRAYPLANSupport.h"

#include "arrayplan/frontend/FileCheck.h"
#include "arrayplan/frontend/ResultCodes.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/planner/PolicyConverter.h"
#include "arrayplan/policy/ConfigurationStep.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyMaker.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"
#include "foundation/SwitchParser.h"
#include "foundation/platform/FileSystem.h"

ARRAYPLANSupport::ARRAYPLANSupport() = default;
ARRAYPLANSupport::~ARRAYPLANSupport() = default;

int ARRAYPLANSupport::run(int argc, const char* const* argv) {
    programPath_ = argc > 0 ? argv[0] : "";
    // Asking for help is never an error, whatever else the command line holds.
    if (argc <= 1 || asksForHelp(argc, argv))
        return showUsage();
    int exitStatus = 0;
    if (!readCommandLine(argc, argv, exitStatus))
        return exitStatus;
    runMode_ = kModeRun;
    echoSettings();
    return runSteps();
}

int ARRAYPLANSupport::showUsage() {
    runMode_ = kModeUsage;
    printBannerAndUsage();
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
        RunSettings::printErrorForm("Internal error processing command-line switches.\n");
    else
        RunSettings::printErrorForm(resultMessage(18));
    printBannerAndUsage();
    exitStatus = 18;
    return false;
}

void ARRAYPLANSupport::echoSettings() const {
    Console& console = Console::Instance();
    console.OutFormat("Input inventory file:  %s \n", line_.inventoryPath.Text());
    console.OutFormat("Input policy file:     %s \n", line_.policyPath.Text());
    console.OutFormat("Output inventory file: %s \n", line_.outputInventoryPath.Text());
    console.OutFormat("Output policy file:    %s \n", line_.outputPolicyPath.Text());
    console.OutFormat("RAID Support Files Directory Path:%s \n", line_.raidDirectory.Text());
}

int ARRAYPLANSupport::runSteps() {
    using Step = bool (ARRAYPLANSupport::*)();
    static const Step kSteps[] = {
        &ARRAYPLANSupport::verifyInputInventory,  &ARRAYPLANSupport::processInputInventory,
        &ARRAYPLANSupport::verifyInputPolicy,     &ARRAYPLANSupport::processInputPolicy,
        &ARRAYPLANSupport::findSupportFiles,      &ARRAYPLANSupport::createConfigurations,
        &ARRAYPLANSupport::verifyOutputInventory, &ARRAYPLANSupport::writeOutputInventory,
        &ARRAYPLANSupport::verifyOutputPolicy,    &ARRAYPLANSupport::writeOutputPolicy,
    };
    for (Step step : kSteps) {
        if (!(this->*step)())
            return finish();
    }
    RunSettings::printPlain("Validation Completed\n");
    return 0;
}

// The message of the run's code; a failure that recorded no code still ends with a failure status.
int ARRAYPLANSupport::finish() {
    RunSettings::printErrorForm(resultMessage(errorCode_));
    return failureExitStatus(errorCode_);
}

bool ARRAYPLANSupport::fail(int code) {
    errorCode_ = code;
    return false;
}

void ARRAYPLANSupport::dumpControllers() const {
    for (int i = 0; RaidController* controller = controllers_.at(i); ++i)
        controller->dump(true);
}

bool ARRAYPLANSupport::verifyInputInventory() {
    Console::Instance().OutFormat("Verifying input inventory file:%s ...\n", line_.inventoryPath.Text());
    return checkFile(settings_, "r", line_.inventoryPath) || fail(12);
}

bool ARRAYPLANSupport::processInputInventory() {
    RunSettings::printPlain("Processing input inventory file ...\n");
    int code = 0;
    if (!loadInventory(settings_, line_.inventoryPath, controllers_, code))
        return fail(code);
    if (settings_.debug)
        dumpControllers();
    return true;
}

bool ARRAYPLANSupport::verifyInputPolicy() {
    Console::Instance().OutFormat("Verifying input policy file:%s ...\n", line_.policyPath.Text());
    return checkFile(settings_, "r", line_.policyPath) || fail(11);
}

bool ARRAYPLANSupport::processInputPolicy() {
    RunSettings::printPlain("Processing input policy file ...\n");
    settings_.policyFilePath = line_.policyPath;
    policyReader_ = std::make_unique<PolicyReader>(settings_);
    if (!policyReader_->read())
        return fail(1);
    if (settings_.debug)
        policyReader_->dumpAllPolicies();
    return true;
}

bool ARRAYPLANSupport::findSupportFiles() {
    for (int i = 0; RaidController* controller = controllers_.at(i); ++i) {
        CString path = ControllerIni::fileName(settings_.raidDirectory, controller->modelName());
        if (!checkFile(settings_, "r", path)) {
            Console::Instance().OutFormat("%s for Controller:%s\n", "Error opening RAID support ini file",
                                          controller->modelName());
            return fail(3);
        }
    }
    return true;
}

bool ARRAYPLANSupport::createConfigurations() {
    RunSettings::printPlain("Creating KLAMP Configurations ...\n");
    // Each controller is planned on its own copy of the policy as read.
    PlanPolicy plan = [this](RaidController& controller, Policy& copy) {
        PolicyConverter converter(settings_, copy, controller);
        return converter.runConverter();
    };
    int code = runConfigurationStep(settings_, controllers_, policyReader_->policyList(), plan);
    return code == 0 || fail(code);
}

bool ARRAYPLANSupport::verifyOutputInventory() {
    const CString& path = line_.outputInventoryPath;
    Console::Instance().OutFormat("Verifying output inventory file:%s ...\n", path.Text());
    OutputFileGuard guard(path);
    if (checkFile(settings_, "w", path))
        return true;
    guard.undo();
    return fail(13);
}

bool ARRAYPLANSupport::writeOutputInventory() {
    RunSettings::printPlain("Writing output inventory file ...\n");
    if (writeInventory(settings_, line_.outputInventoryPath, controllers_))
        return true;
    CurrentFileSystem().DeleteFile(line_.outputInventoryPath.Str());
    return fail(14);
}

bool ARRAYPLANSupport::verifyOutputPolicy() {
    const CString& path = line_.outputPolicyPath;
    Console::Instance().OutFormat("Verifying output policy file:%s ...\n", path.Text());
    outputPolicyGuard_ = std::make_unique<OutputFileGuard>(path);
    // Append mode: the policy writer reads the policies already in the file and adds to them.
    if (checkFile(settings_, "a", path))
        return true;
    outputPolicyGuard_->undo();
    return fail(15);
}

bool ARRAYPLANSupport::writeOutputPolicy() {
    RunSettings::printPlain("Writing output policy file ...\n");
    settings_.policyFilePath = line_.outputPolicyPath;
    PolicyMaker maker(settings_);
    if (maker.makePolicies(controllers_))
        return true;
    settings_.reportError("FORMAT:Error polyMaker->makePolicies ");
    outputPolicyGuard_->undo(); // a file that existed before the run stays exactly as it was
    return fail(16);
}
