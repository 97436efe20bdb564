// Codes of the RAID enumerations and their texts. Fields that hold these codes are plain ints, so a
// value read from a file or a policy that names no code can be kept (-1) and reported.
#pragma once

#include <string>

enum RaidLevel : int {
    kRaidLevelNotSet = -1,
    kRaid0 = 0,
    kRaid1 = 1,
    kRaid1E = 2,
    kRaid5 = 3,
    kRaid5E = 4,
    kRaid5EE = 5,
    kRaid6 = 6,
    kRaid10 = 7,
    kRaid50 = 8,
    kRaid60 = 9,
    kRaidVolume = 10,
    kRaidSpanned = 11,
    kRaidAuto = 12, // a policy's "let the controller family choose"; has no text
    kRaidSimpleVolume = 13,
};

enum StripeSize : int { kStripe8 = 0, kStripe4096 = 9, kStripeNotSet = 10 };
enum ReadAhead : int { kReadAheadAdaptive = 0, kReadAheadOn = 1, kReadAheadOff = 2 };
enum RebuildRate : int { kRebuildHigh = 0, kRebuildMed = 1, kRebuildLow = 2 };
enum WriteCache : int { kWriteCacheOff = 0, kWriteCacheOn = 1, kWriteCacheAuto = 2 };
enum DriveType : int { kDriveScsi = 0, kDriveSata = 1, kDriveSas = 2, kDriveIde = 3 };

// Logical drive sizes: > 0 is MB, -1..-100 a percentage of the array's data space, this value the rest.
inline constexpr int kSizeFill = -101;

// Level text: trimmed of blank, tab and newline, then of "R" at both ends, compared ignoring case
// ("r10 " -> kRaid10, "volume" -> kRaidVolume); -1 for anything else.
int raidLevelFromText(const char* text);
// "0" .. "VOLUME" and "SIMPLE VOLUME"; empty for kRaidSpanned and codes without a text.
const char* raidLevelText(int level);

// "8" .. "4096" -> 0 .. 9, exactly as written; -1 for anything else.
int stripeSizeFromText(const char* text);
const char* stripeSizeText(int code); // empty for kStripeNotSet and other codes

// Texts compared ignoring case; -1 when none matches. Texts of other codes are empty.
int readAheadFromText(const char* text);
const char* readAheadText(int code);
int rebuildRateFromText(const char* text);
const char* rebuildRateText(int code);
int writeCacheFromText(const char* text);
const char* writeCacheText(int code);
