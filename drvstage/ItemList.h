// Item-list helpers for machine type, category and support lists (items joined by ",").
#pragma once

#include "foundation/CString.h"

#include <vector>

inline constexpr const char* kListSeparator = ",";

// The items of list in order, as the item view yields them (not trimmed one by one).
std::vector<CString> SplitItems(const CString& list, const char* sep = kListSeparator);
// The items of wanted, in their order, that are also items of list (compared byte-exactly).
CString ItemsAlsoIn(const CString& wanted, const CString& list, const char* sep = kListSeparator);
// Whether any item of list, trimmed of the white set, equals value ignoring case.
bool HasItemNoCase(const CString& list, const CString& value, const char* sep = kListSeparator);
