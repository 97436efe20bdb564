// /LINT: the mistakes in a driver set that make a run leave a driver out without a word, found without
// staging anything. One line per finding.
#pragma once

#include "drvstage/CopySettings.h"

inline constexpr int kLintFound = 2;

// Checks the driver set of settings.sourcePath: 0 when nothing was found, kLintFound when something was,
// 3 when the set could not be read.
int LintDriverSet(const CopySettings& settings);

// The listed item nearest to item (fewest single-character edits; the first of equals); empty for none.
CString NearestItem(const CString& item, const CString& list);
