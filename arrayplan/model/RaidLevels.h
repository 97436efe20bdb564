// The RAID levels' facts in one table: their texts, how many of an array's members hold data, which
// member counts a level takes and how many free drives an array of the level is formed from. The
// planner, the configurators, the policy limit check and the inventory writer all read them here.
#pragma once

struct RaidLevelFacts {
    int level;
    const char* text;    // empty for a level without a text
    bool mirrored;       // half of the members' space holds data
    int redundantDrives; // members whose space holds no data (a level that is not mirrored)
    int minMembers;      // 0: no array holds a logical drive of this level
    int maxMembers;      // 0: no upper limit
    bool evenMembers;    // the member count must be even
    int freeDriveLimit;  // the most free drives an array of the level takes; 0: by controller type
};

// The facts of a level code; null for a code that names no level.
const RaidLevelFacts* raidLevelFacts(int level);

// Twice the space, in MB, that members drives of size MB each leave for data at level, so that the
// mirrored levels, which keep half, stay whole; a code that names no level keeps all of it. Negative
// when a level has more redundant drives than members.
long long doubledDataSpace(int level, long long members, long long size);
