// The ADS mode merges the drivers' folders into one: a file of a later folder replaces the file of the
// same name that an earlier folder brought. Where the two differ, one driver loses a file.
#pragma once

#include "foundation/CString.h"

#include <vector>

struct AdsCollision {
    CString file;    // relative to the driver folders
    CString earlier; // the folder whose copy is replaced
    CString later;   // the folder whose copy replaces it
};

// The files of folders (in copy order) that replace an earlier folder's file of the same name with other
// contents. A file that cannot be listed or read is left out: the copy itself reports it.
std::vector<AdsCollision> FindAdsCollisions(const std::vector<CString>& folders);

// "Warning: <file> from <later> replaces the one from <earlier>, which differs."
CString AdsCollisionText(const AdsCollision& collision);
