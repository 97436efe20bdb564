// Refusing destinations that a copy run would destroy: one that overlaps the source (the source
// itself, a folder holding it, a folder inside it), or, when the run empties it, a file-system root
// (a drive, a share, "/" or a mounted volume).
#pragma once

#include "foundation/CString.h"

enum class DestinationRisk { None, OverlapsSource, FileSystemRoot };

// Both paths absolute. Links are followed as the system follows them, so a destination reached
// through a link into the source is recognised too.
DestinationRisk CheckDestination(const CString& source, const CString& destination, bool emptiesDestination);

// The failure line that names the risk (empty for None).
CString DestinationRiskMessage(DestinationRisk risk, const CString& source, const CString& destination);
