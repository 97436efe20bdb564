#include "arrayplan/frontend/CommandLine.h"

#include "foundation/Console.h"
#include "foundation/SwitchParser.h"
#include "foundation/platform/PathStyle.h"

#include <cstdlib>
#include <cstring>

namespace {

const SwitchDeclaration kSwitches[] = {
    {"/ini:", SwitchKind::SpanningText, false, true},    {"/inp:", SwitchKind::SpanningText, true, true},
    {"/outi:", SwitchKind::SpanningText, false, true},   {"/outp:", SwitchKind::SpanningText, false, true},
    {"/raid:", SwitchKind::SpanningText, false, true},   {"/?", SwitchKind::Flag, false, true},
    {"/debug", SwitchKind::Flag, false, true},           {"/json:", SwitchKind::SpanningText, false, true},
    {"/fleet:", SwitchKind::SpanningText, false, false}, {"/report:", SwitchKind::SpanningText, false, false},
    {"/jobs:", SwitchKind::Number, false, false},        {"/outdir:", SwitchKind::SpanningText, false, false},
    {"/explain", SwitchKind::Flag, false, true},
};

// A single run needs "/ini:"; a fleet check reads its inventories from "/fleet:" and needs "/report:". The
// switches of one kind of run are refused in the other.
bool switchesFitTheRun(const SwitchParser& parser) {
    if (!parser.IsGiven("/fleet:"))
        return parser.IsGiven("/ini:") && !parser.IsGiven("/report:") && !parser.IsGiven("/jobs:") &&
               !parser.IsGiven("/outdir:");
    return parser.IsGiven("/report:") && !parser.IsGiven("/ini:") && !parser.IsGiven("/outi:") &&
           !parser.IsGiven("/outp:") && !parser.IsGiven("/json:") && !parser.IsGiven("/explain");
}

// "/jobs:" is a count of worker threads: 1 or more.
bool readJobs(const SwitchParser& parser, int& jobs) {
    CString text;
    if (!parser.GetValue("/jobs:", text))
        return true;
    jobs = std::atoi(text.Text());
    return jobs >= 1 && jobs <= kMaxFleetJobs;
}

const char* const kUsage[] = {
    "",
    "Server deployment kit - RAID configuration policy validator\n",
    "Command Line Tool for RAID VALIDATION     \n",
    "arrayplan </ini:file1> </inp:file2> </outi:file3> </outp:file4> </raid:path>\n",
    "Where:\t\t\t\t\t\t\t\t\t \n",
    "/ini:<f>  -- Path and file name for input inventory file captured with hwsnap\t\t\t         \n",
    "/inp:<f>  -- Path and file name for input policy file to be validated\t                     \n",
    "/outi:<f> -- Path and file name for output inventory file with resultant raid configuration\t \n",
    "/outp:<f> -- Path and file name for output policy file to be used in klamp for configuration \n",
    "/raid:<p> -- Path for RAID support ini files \n",
    "\t\t\t\t\t\t\t\t\t\n",
};

// Support files are found by appending the model name, so the directory must end with a separator.
CString withTrailingSeparator(const CString& directory) {
    if (directory.IsEmpty() || IsSeparator(directory.At(directory.Length() - 1), NativePathStyle()) ||
        directory.EndsWith("\\"))
        return directory;
    return directory + "\\";
}

} // namespace

int parseCommandLine(int argc, const char* const* argv, CommandLine& line) {
    SwitchParser parser;
    if (!parser.AddSwitches(kSwitches))
        return SwitchParser::kInternalError;
    int result = parser.Parse(argc, argv, false, true);
    if (result != SwitchParser::kParsed)
        return result;
    if (!switchesFitTheRun(parser) || !readJobs(parser, line.fleetJobs))
        return SwitchParser::kRejected;
    parser.GetValue("/ini:", line.inventoryPath);
    parser.GetValue("/inp:", line.policyPath);
    parser.GetValue("/outi:", line.outputInventoryPath);
    parser.GetValue("/outp:", line.outputPolicyPath);
    parser.GetValue("/raid:", line.raidDirectory);
    line.raidDirectory = withTrailingSeparator(line.raidDirectory);
    parser.GetValue("/json:", line.jsonPath);
    line.debug = parser.IsGiven("/debug");
    parser.GetValue("/fleet:", line.fleetDirectory);
    parser.GetValue("/report:", line.fleetReportPath);
    parser.GetValue("/outdir:", line.fleetOutputDirectory);
    line.explain = parser.IsGiven("/explain");
    return SwitchParser::kParsed;
}

bool asksForHelp(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "/?") == 0)
            return true;
    }
    return false;
}

void printBannerAndUsage(Console& console) {
    for (const char* line : kUsage)
        console.OutFormat("%s", line);
}
