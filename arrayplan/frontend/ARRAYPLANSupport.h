// The run object of arrayplan: reads the command line, runs the validation steps in their fixed
// order, and turns the first failure into the exit status with its message.
#pragma once

#include "arrayplan/frontend/CommandLine.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"

#include <memory>
#include <string>

class OutputFile;
class PolicyReader;

class ARRAYPLANSupport {
public:
    static constexpr int kModeUsage = 5;
    static constexpr int kModeRun = 3;

    ARRAYPLANSupport();
    ~ARRAYPLANSupport();
    ARRAYPLANSupport(const ARRAYPLANSupport&) = delete;
    ARRAYPLANSupport& operator=(const ARRAYPLANSupport&) = delete;

    // The whole run; returns the exit status.
    int run(int argc, const char* const* argv);

    RunSettings& settings() { return settings_; }
    ControllerList& controllers() { return controllers_; }
    PolicyReader* policyReader() { return policyReader_.get(); }
    int errorCode() const { return errorCode_; }
    int runMode() const { return runMode_; }

private:
    int showUsage();
    bool readCommandLine(int argc, const char* const* argv, int& exitStatus);
    void echoSettings() const;
    int runSteps();
    int finish();

    // The steps, in run order; each returns false after setting errorCode_ (or leaving it 0).
    bool verifyInputInventory();
    bool processInputInventory();
    bool verifyInputPolicy();
    bool processInputPolicy();
    bool findSupportFiles();
    bool checkOutputsNameNoInput();
    bool createConfigurations();
    bool verifyOutputInventory();
    bool writeOutputInventory();
    bool verifyOutputPolicy();
    bool writeOutputPolicy();

    bool fail(int code);
    // Ends a step like fail, with a line naming the file and the system's reason after the run's message.
    bool failWithLine(int code, const std::string& line);
    void dumpControllers() const;

    int runMode_ = -1;
    CString programPath_;
    CommandLine line_;
    int errorCode_ = 0;
    RunSettings settings_;
    ControllerList controllers_;
    std::unique_ptr<PolicyReader> policyReader_;
    std::unique_ptr<OutputFile> outputInventory_; // from its check to its writing
    std::unique_ptr<OutputFile> outputPolicy_;
    std::string failureLine_; // printed after the run's message
};
