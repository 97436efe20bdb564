// One "AppliesTo." entry of a policy: which controllers the policy applies to. An empty text or
// kNotGiven means any value for that field.
#pragma once

#include "foundation/CString.h"

struct AppliesToEntry {
    // The code of an integer criterion that the entry does not give (also used by a policy's
    // arrayDefaultHotSpares); distinct from -1, which is a real value in some fields.
    static constexpr int kNotGiven = -25;

    CString machineType;              // "m:"
    CString serialNumber;             // "s:"
    int controllerNumber = kNotGiven; // "c:", 1-based
    int scanOrder = kNotGiven;        // "o:"
    int driveCount = kNotGiven;       // "d:"
    CString controllerType;           // "t:", a catalogue model name
    bool all = false;                 // "ALL"
};
