// A fault sweep: an action is run once on a prepared memory file system to list the file-system calls it
// makes, and then once per call with just that call failing.
#pragma once

#include "support/MemoryFileSystem.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

struct InjectedFault {
    MemoryFileSystem::Call call;
    int nth; // from 1, among the action's calls of that kind
};

std::string Describe(const InjectedFault& fault);

using Preparation = std::function<void(MemoryFileSystem&)>;
using Action = std::function<void()>;

// Every call that action makes on a file system made by prepare, in kind order, as one fault each.
// prepare runs with the memory file system installed, so it may also open what the action works on.
std::vector<InjectedFault> CallsMadeBy(const Preparation& prepare, const Action& action);

// Files below folder (relative names, '/' separators), each with its size and a hash of its contents, which
// compare like the contents and print shortly.
std::map<std::string, std::string> FilesBelow(const MemoryFileSystem& fileSystem, const std::string& folder);

// The names whose contents differ between two listings of FilesBelow, with both fingerprints; empty when
// they are equal.
std::string Differences(const std::map<std::string, std::string>& actual,
                        const std::map<std::string, std::string>& expected);

// How often each kind of call appears in faults: a sweep that missed a kind tests less than it claims.
int CountOf(const std::vector<InjectedFault>& faults, MemoryFileSystem::Call call);
