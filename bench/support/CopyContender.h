// A contender that copies a tree into a new folder every round and must copy every file of it.
#pragma once

#include "Rounds.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The round's destination folder, and the command that copies the tree there.
using DestinationOfRound = std::function<std::filesystem::path(int round)>;
using CopyCommand = std::function<std::vector<std::string>(const std::filesystem::path& destination)>;

// Each run starts with the disk settled (earlier writes flushed, not left to slow it). Destinations are
// new folders, deleted only after all rounds: a tree deleted just before a timing makes the file system
// skip its recently freed inodes, which slows whichever program comes next.
Contender CopyContender(const std::string& name, CopyCommand command, DestinationOfRound destination,
                        uint64_t files);

// `cp -r` with the options given before the source and the destination.
CopyCommand CpCommand(const std::filesystem::path& source, std::vector<std::string> options);
