// PolicyMaker: appends one generated policy per configured controller to the output policy file, after
// checking the policies already in it, whose names the new ones avoid.
#pragma once

#include "foundation/CString.h"

#include <memory>
#include <string>
#include <vector>

class ControllerList;
class File;
class RaidController;
class RunSettings;

class PolicyMaker {
public:
    // Borrows settings: the output policy file is settings.policyFilePath, the temporary file goes
    // into settings.raidDirectory.
    explicit PolicyMaker(RunSettings& settings);

    // False after a reported failure; the output file may then hold part of the new text, which the
    // run driver takes back. With no configured controller the output file is not touched.
    bool makePolicies(const ControllerList& controllers);

private:
    bool readExistingPolicies();
    bool createTemporaryFile(std::unique_ptr<File>& file);
    bool writeControllerPolicy(File& file, const RaidController& controller, int controllerNumber);
    bool appendTemporaryFile();
    bool copyInBlocks(File& from, File& to);
    void removeTemporaryFile();

    RunSettings& settings_;
    std::vector<CString> names_; // of the policies in the file and of those generated in this run
    CString machineType_;
    CString serialNumber_;
    bool written_ = false; // a controller's policy is in the temporary file
    std::string temporaryPath_;
};
