// Runs of a built program as they are, counted by strace, or killed by strace at one chosen call.
#pragma once

#include "support/RunProgram.h"

#include <map>
#include <string>
#include <vector>

struct Command {
    std::string program; // path of the built program
    std::vector<std::string> arguments;
    std::string input; // standard input
};

ProgramResult RunPlain(const Command& command);

// Empty when strace can trace and kill a program here, otherwise why it cannot (for a skip message).
std::string WhyTracingIsUnavailable();

// The calls at which a kill can leave a file in a new state: the writes and their relatives, and the
// calls that give, take or move a name.
const std::vector<std::string>& KillPointCalls();

// How often the run makes each call of KillPointCalls (all threads together); only the calls made.
std::map<std::string, int> CountCalls(const Command& command, const std::string& logPath);

// Runs the command and kills it with SIGKILL on entering its nth call of syscall, which is not made. A
// thread is a tracee of its own: the run dies when any one thread enters its own nth call, and runs to
// its end when no thread makes that many.
ProgramResult RunKilledAt(const Command& command, const std::string& syscall, int n);
