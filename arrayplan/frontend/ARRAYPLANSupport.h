// The run object of arrayplan: reads the command line, runs the validation steps in their fixed
// order, and turns the first failure into the exit status with its message.
#pragma once

#include "arrayplan/frontend/CommandLine.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/ResultCodes.h"
#include "arrayplan/model/RunSettings.h"

#include <memory>
#include <string>
#include <vector>

class Console;
class FileSystem;
class OutputFile;
class PolicyList;
class PolicyReader;
class SupportFileCache;

// A file of the run with the switch that named it (for a support file, "/raid:").
struct NamedFile {
    const char* switchName;
    CString path;
};

// What the runs of a fleet check share, read once before them; the runs only consult it.
struct SharedInputs {
    const PolicyList* policies = nullptr; // the policy file as read; null when reading it failed
    SupportFileCache* supportFiles = nullptr;
    bool writesOutputs = true; // false: the run ends after planning, with nothing written
};

class ARRAYPLANSupport {
public:
    // The run's messages go to console, its file operations to fileSystem; both outlive the run.
    ARRAYPLANSupport(Console& console, FileSystem& fileSystem);
    ~ARRAYPLANSupport();
    ARRAYPLANSupport(const ARRAYPLANSupport&) = delete;
    ARRAYPLANSupport& operator=(const ARRAYPLANSupport&) = delete;

    // The whole run; returns the exit status.
    int run(int argc, const char* const* argv);
    // The run of a command line already read, on the inputs of shared (which outlive the run) instead of
    // its own reading of the policy file and support files; returns the exit status.
    int run(const CommandLine& line, const SharedInputs& shared);

    // After the run: its code (Success for a completed run) and the controllers as the run left them.
    ResultCode resultCode() const { return errorCode_; }
    const ControllerList& controllers() const { return controllers_; }
    const RunSettings& settings() const { return settings_; }

private:
    int showUsage();
    bool readCommandLine(int argc, const char* const* argv, int& exitStatus);
    void echoSettings() const;
    int runSteps();
    // With "/explain", once the configurations were tried: the explanation of every controller.
    void explain() const;
    int finish();
    const PolicyList& policies() const;
    // Writes the "/json:" report, when asked for, of the run as it ends; false, with its line recorded,
    // when it cannot be written.
    bool writeReport();

    // The steps, in run order; each returns false after setting errorCode_.
    [[nodiscard]] bool verifyInputInventory();
    [[nodiscard]] bool processInputInventory();
    [[nodiscard]] bool verifyInputPolicy();
    [[nodiscard]] bool processInputPolicy();
    [[nodiscard]] bool findSupportFiles();
    [[nodiscard]] bool checkOutputsNameNoInput();
    [[nodiscard]] bool createConfigurations();
    [[nodiscard]] bool verifyOutputInventory();
    [[nodiscard]] bool writeOutputInventory();
    [[nodiscard]] bool verifyOutputPolicy();
    [[nodiscard]] bool writeOutputPolicy();

    // Records code (Success for a failure without code of its own) and returns false.
    bool fail(ResultCode code);
    // Ends a step like fail, with a line naming the file and the system's reason after the run's message.
    bool failWithLine(ResultCode code, const std::string& line);
    void dumpControllers() const;
    // The inputs of the run (the support files of the controllers read so far), and those plus the two
    // outputs: the files the report must not replace.
    std::vector<NamedFile> inputFiles() const;
    std::vector<NamedFile> filesBesideReport() const;

    CommandLine line_;
    ResultCode errorCode_ = ResultCode::Success;
    RunSettings settings_;
    ControllerList controllers_;
    std::unique_ptr<PolicyReader> policyReader_;
    const SharedInputs* shared_ = nullptr;        // a fleet check's run only
    std::unique_ptr<OutputFile> outputInventory_; // from its check to its writing
    std::unique_ptr<OutputFile> outputPolicy_;
    std::string failureLine_;                          // printed after the run's message
    ResultCode planningFailure_ = ResultCode::Success; // the configuration step's code when it failed
    bool configurationsTried_ = false;
};
