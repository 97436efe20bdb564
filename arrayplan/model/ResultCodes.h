// The result codes of a run and their messages.
#pragma once

// The exit status of a failed run that recorded no code of its own (its message is the general one).
inline constexpr int kUnclassifiedFailure = 255;

// The exit status of a failed run: its code, or kUnclassifiedFailure for 0, so a failure never exits 0.
int failureExitStatus(int code);

// The message of a code (1 to 19); the general "Error in RAID Validation" for any other.
const char* resultMessage(int code);
