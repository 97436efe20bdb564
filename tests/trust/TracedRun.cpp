#include "TracedRun.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

namespace {

const char* const kStrace = "/usr/bin/strace";

std::vector<std::string> Concatenated(std::vector<std::string> front, const Command& command) {
    front.push_back(command.program);
    front.insert(front.end(), command.arguments.begin(), command.arguments.end());
    return front;
}

// The leak checker of a sanitizer build cannot work under a tracer: a traced run that ends on its own
// would fail at its exit with the checker's error, and also make writes of its own to report it.
std::string WithoutLeakCheck() {
    const char* options = std::getenv("ASAN_OPTIONS");
    return "ASAN_OPTIONS=" + std::string(options && *options ? std::string(options) + ":" : "") +
           "detect_leaks=0";
}

ProgramResult RunTraced(std::vector<std::string> straceOptions, const Command& command) {
    straceOptions.insert(straceOptions.begin(), {"-E", WithoutLeakCheck()});
    return RunProgram(kStrace, Concatenated(straceOptions, command), "", command.input);
}

// "?" lets strace pass over a call that this architecture does not have (rename on some).
std::string TraceSet() {
    std::string set;
    for (const std::string& call : KillPointCalls())
        set += (set.empty() ? "?" : ",?") + call;
    return set;
}

} // namespace

ProgramResult RunPlain(const Command& command) {
    return RunProgram(command.program, command.arguments, "", command.input);
}

std::string WhyTracingIsUnavailable() {
    if (TestingWindowsBuild())
        return "the Windows build runs under Wine, whose calls are not the program's own";
    if (!std::filesystem::exists(kStrace))
        return std::string(kStrace) + " is not installed (scripts/install-deps installs strace)";
    // Killed at its one write, the shell prints nothing.
    ProgramResult probe =
        RunProgram(kStrace, {"-qq", "-o", "/dev/null", "-e", "inject=write:signal=KILL:when=1", "/bin/sh",
                             "-c", "echo probe"});
    if (probe.status == -1 && probe.out.empty())
        return "";
    return "strace cannot kill a program at a chosen call here: " + probe.err;
}

const std::vector<std::string>& KillPointCalls() {
    static const std::vector<std::string> calls = {
        "write",           "pwrite64", "writev",    "pwritev",   "pwritev2", "sendfile",
        "copy_file_range", "splice",   "ftruncate", "fallocate", "rename",   "renameat",
        "renameat2",       "link",     "linkat",    "unlink",    "unlinkat", "rmdir"};
    return calls;
}

std::map<std::string, int> CountCalls(const Command& command, const std::string& logPath) {
    std::map<std::string, int> counts;
    ProgramResult run = RunTraced({"-f", "-qq", "-o", logPath, "-e", "trace=" + TraceSet()}, command);
    if (run.status < 0)
        return counts;
    // "1234 write(3, ..." opens a call; "1234 <... write resumed>" continues one and is not counted.
    const std::regex opening(R"(^\d+\s+(\w+)\()");
    std::istringstream log(ReadWholeFile(logPath));
    std::smatch match;
    for (std::string line; std::getline(log, line);) {
        if (std::regex_search(line, match, opening))
            ++counts[match[1]];
    }
    return counts;
}

ProgramResult RunKilledAt(const Command& command, const std::string& syscall, int n) {
    return RunTraced({"-f", "-qq", "-o", "/dev/null", "-e", "trace=" + syscall, "-e",
                      "inject=" + syscall + ":signal=KILL:when=" + std::to_string(n)},
                     command);
}
