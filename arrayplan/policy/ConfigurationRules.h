// The rules of a configuration that do not depend on a controller family: how many drives an array
// may take, which member counts a RAID level accepts, and the size of a percentage of an array.
#pragma once

// The most drives an array takes when it is formed from free drives (an ALL array or an automatic
// array): by RAID level, or, for no level (-1) or "AUTO", by controller type.
int arrayDriveLimit(int raidLevel, int controllerType, int variant);

// True when an array of members drives can hold a logical drive of raidLevel.
bool memberCountFits(int raidLevel, int members, int controllerType);

// percent of the space an array of members drives, the smallest of smallestSize MB, leaves for data at
// raidLevel, rounded half up: half for "1", "1E" and "10", (m - 1) / m for "5", (m - 2) / m for "5E",
// "5EE", "6" and "50", (m - 4) / m for "60", all of it otherwise. Exact for any size; never below 0.
long long percentOfDataSpace(int raidLevel, int members, long long smallestSize, int percent);
