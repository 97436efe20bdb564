// PolicyMaker: adds one generated policy per configured controller to the output policy file, after
// checking the policies already in it, whose names the new ones avoid. The file is replaced whole: its
// old text and the new policies go to a temporary file beside it, renamed over it when complete.
#pragma once

#include "foundation/CString.h"

#include <string>
#include <vector>

class ControllerList;
class OutputFile;
class RaidController;
class RunSettings;

class PolicyMaker {
public:
    // Borrows settings; path is the output policy file.
    PolicyMaker(RunSettings& settings, const CString& path);

    // output is the opened output policy file (its lock held). False after a reported failure; the file
    // is then as it was. With no configured controller the file is not touched.
    bool makePolicies(const ControllerList& controllers, OutputFile& output);

    // The longest line the policy reader takes; a longer generated one would make the file unreadable.
    static constexpr size_t kMaxLineLength = 254;

private:
    bool readExistingPolicies();
    bool addControllerPolicy(std::string& text, const RaidController& controller, int controllerNumber);
    bool checkLineLengths(const std::string& text, const RaidController& controller, int controllerNumber);
    bool copyExistingPolicies(OutputFile& output);
    bool replaceFile(OutputFile& output, const std::string& generated);

    RunSettings& settings_;
    CString path_;
    std::vector<CString> names_; // of the policies in the file and of those generated in this run
    CString machineType_;
    CString serialNumber_;
    bool written_ = false; // a controller's policy was generated
};
