#include "arrayplan/model/RaidConfiguration.h"

#include "foundation/Console.h"

RaidHotSpare* RaidConfiguration::hotSpareAt(int index) {
    return index < kReachableHotSpares ? hotSpares_.at(index) : nullptr;
}

const RaidHotSpare* RaidConfiguration::hotSpareAt(int index) const {
    return index < kReachableHotSpares ? hotSpares_.at(index) : nullptr;
}

namespace {

void dumpArray(Console& console, const RaidArray& array, int index) {
    console.OutFormat("Array %c.  ", arrayLetter(index));
    console.Out("Drives in array (chan,sid):\n");
    int shown = 0;
    for (const DrivePosition& member : array.members) {
        console.OutFormat("\t(%d,%d)", member.channel, member.id);
        if (++shown % 4 == 0)
            console.Out("\n");
    }
}

void dumpLogicalDrive(Console& console, const RaidLogicalDrive& drive, int index) {
    console.OutFormat("Logical drive %d.  ", index);
    console.Out("Logical drive info:\n");
    if (drive.size == kSizeFill)
        console.Out("\tsize=FILL\n");
    else
        console.OutFormat("\tsize=%ld\n", static_cast<long>(drive.size));
    console.OutFormat("\tarray = %c\n", arrayLetter(drive.arrayIndex));
    const char* level = raidLevelText(drive.raidLevel);
    console.OutFormat("\traidlevel = %s\n", level[0] != '\0' ? level : "ERROR");
    console.OutFormat("\twritecache = %s\n", writeCacheText(drive.writeCache));
}

} // namespace

void RaidConfiguration::dump(Console& console) const {
    console.Out("#### START Configuration dump ####\n");
    console.OutFormat("RebuildRate   = %d\n", rebuildRate);
    console.OutFormat("StripeSize    = %d\n", stripeSize);
    console.OutFormat("ReadAhed      = %d\n", readAhead);
    console.OutFormat("Init          = %d\n", init);
    console.OutFormat("Policy used   = %s\n", policyName.c_str());
    for (int i = 0; i < arrayCount(); ++i)
        dumpArray(console, *arrayAt(i), i);
    for (int i = 0; i < logicalDriveCount(); ++i)
        dumpLogicalDrive(console, *logicalDriveAt(i), i);
    for (int i = 0; hotSpareAt(i) != nullptr; ++i) {
        console.OutFormat("Hot-spare drive %d.  ", i);
        console.OutFormat("Hotspare info:\n\t(%d,%d)\n", hotSpareAt(i)->channel(), hotSpareAt(i)->id());
    }
    console.Out("\n");
    console.Out("#### END Configuration dump ####\n");
}
