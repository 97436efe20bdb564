// The result codes of a run and their messages. Every step of a run that can fail answers one of these;
// the code of the first failure is the program's exit status.
#pragma once

enum class [[nodiscard]] ResultCode{
    Success = 0,
    PolicyUnparsable = 1,
    InventoryUnparsable = 2,
    ControllerUnsupported = 3,
    RaidLevelUnsupported = 4,
    StripeSizeUnsupported = 5,
    ArrayCountUnsupported = 6,
    ArrayDrivesUnsupported = 7,
    LogicalDrivesUnsupported = 8,
    NoDrivesForHotSpares = 9,
    NotEnoughSameSizeDrives = 10,
    InputPolicyUnopenable = 11,
    InputInventoryUnopenable = 12,
    OutputInventoryUnopenable = 13,
    InventoryUnwritable = 14,
    OutputPolicyUnopenable = 15,
    PolicyUnwritable = 16,
    PartialSizingUnsupported = 17,
    UnknownParameter = 18,
    NoPolicyApplies = 19,
};

// The exit status of a failed run that recorded no code of its own (its message is the general one).
inline constexpr int kUnclassifiedFailure = 255;

// The code's number, as printed in traces and given as exit status.
constexpr int codeNumber(ResultCode code) {
    return static_cast<int>(code);
}

// The exit status of a failed run: its code, or kUnclassifiedFailure for Success, so a failure never
// exits 0.
int failureExitStatus(ResultCode code);

// The message of a code; the general "Error in RAID Validation" for Success (a failure without code).
const char* resultMessage(ResultCode code);
