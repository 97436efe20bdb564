// The usable space of an array, in MB, exact in 64 bits.
#pragma once

// driveSize times the number of data drives among drives: all of them for "0" and the volume levels,
// one half for "1", "1E" and "10", n - 1 for "5", n - 2 for "5E", "5EE", "6" and "50", n - 4 for "60".
// Truncated towards zero, as a whole-megabyte size.
long long dataSpace(int drives, long long driveSize, int raidLevel);
