// Looking for drives in a controller's grid as the configurators do: positions of channels 1 to 4,
// IDs 0 to 31, in that scan order. A drive is free when its size is above 0 and it is not reserved.
#pragma once

#include "arrayplan/model/RaidRecords.h"

class RaidController;

// A drive is held at the position (channel 1..4; a 0 MB drive counts, channel 0 never does).
bool driveExists(const RaidController& controller, int channel, int id);
bool isFreeDrive(const RaidController& controller, int channel, int id);
// The first free drive in scan order; false when none is left.
bool firstFreeDrive(const RaidController& controller, DrivePosition& found);
// The largest free drive; of equal sizes the last in scan order. False when none is left.
bool largestFreeDrive(const RaidController& controller, DrivePosition& found);
// The smallest size among the array's members (0 for an array without members).
long long smallestMemberSize(const RaidController& controller, const RaidArray& array);
// Every reservation of the grid cleared.
void clearReservations(RaidController& controller);
