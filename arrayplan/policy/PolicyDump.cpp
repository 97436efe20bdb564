// The "/debug" dump of the policies read: every field of every policy, with sizes, levels and
// write-cache modes as their codes.
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyList.h"
#include "foundation/Console.h"

namespace {

void dumpAppliesTo(Console& console, const Policy& policy) {
    for (int i = 0; i < policy.appliesToCount(); ++i) {
        const AppliesToEntry& entry = *policy.appliesToAt(i);
        console.OutFormat("AppliesTo.%d = c:%d m:%s s:%s o:%d t:%s d:%d all:%d\n", i + 1,
                          entry.controllerNumber, entry.machineType.Text(), entry.serialNumber.Text(),
                          entry.scanOrder, entry.controllerType.Text(), entry.driveCount, entry.all ? 1 : 0);
    }
}

// Position by position: a channel:ID pair where a channel is set, else a drive number; the first
// position with neither ends the array.
void dumpArray(Console& console, const RaidArray& array, int index) {
    console.OutFormat("\tArray.%c = ", arrayLetter(index));
    for (int position = 0; position < kMaxArrayMembers; ++position) {
        const DrivePosition* member = array.members.at(position);
        const int* driveNumber = array.driveNumbers.at(position);
        if (member != nullptr && member->channel != -1)
            console.OutFormat("%d:%d,", member->channel, member->id);
        else if (driveNumber != nullptr && *driveNumber != -1)
            console.OutFormat("%d,", *driveNumber);
        else
            break;
    }
    console.Out("\n");
}

void dumpHotSpares(Console& console, const Policy& policy) {
    console.Out("Hotspares       = ");
    for (int i = 0; i < policy.hotSpareCount(); ++i) {
        const RaidHotSpare& spare = *policy.hotSpareAt(i);
        if (spare.channel() >= 1)
            console.OutFormat("%d:%d,", spare.channel(), spare.id());
        else
            console.OutFormat("%d,", spare.driveNumber());
    }
    console.Out("\n");
}

void dumpLogicals(Console& console, const Policy& policy) {
    const RaidLogicalDrive* defaults = policy.logicalDefaults();
    if (defaults != nullptr)
        console.OutFormat("LogicalDefaults = %ld:%d:%d\n", static_cast<long>(defaults->size),
                          defaults->raidLevel, defaults->writeCache);
    else
        console.Out("LogicalDefaults not set.\n");
    console.Out("Logicals:\n");
    for (int i = 0; i < policy.logicalDriveCount(); ++i) {
        const RaidLogicalDrive& drive = *policy.logicalDriveAt(i);
        console.OutFormat("\tLogical.%d = %d:%ld:%d:%d\n", i + 1, drive.arrayIndex,
                          static_cast<long>(drive.size), drive.raidLevel, drive.writeCache);
    }
}

} // namespace

void Policy::dump(Console& console) const {
    console.OutFormat("******** Dump of %s ***********\n", name.Text());
    dumpAppliesTo(console, *this);
    console.OutFormat("RebuildRate     = %s\n", rebuildRate.Text());
    console.OutFormat("ReadAhead       = %s\n", readAhead.Text());
    console.OutFormat("StripeSize      = %s\n", stripeSize.Text());
    console.OutFormat("Max_Logical_Drive_Size      = %ld\n", static_cast<long>(maxLogicalDriveSize));
    console.OutFormat("ArrayMode       = %d\n", arrayMode);
    console.Out("ArrayDefaults:\n");
    console.OutFormat("\tvariance  = %d\n", arrayDefaultVariance);
    console.OutFormat("\thotspares = %d\n", arrayDefaultHotSpares);
    console.Out("Arrays:\n");
    for (int i = 0; i < arrayCount(); ++i)
        dumpArray(console, *arrayAt(i), i);
    dumpHotSpares(console, *this);
    console.OutFormat("LogicalMode     = %d\n", logicalMode);
    dumpLogicals(console, *this);
    console.OutFormat("Init   = %d\n", init);
    console.Out("\n");
}

void PolicyList::dumpAll(Console& console) {
    console.Out("##### DUMP OF ALL POLICIES ######\n\n");
    rewind();
    while (const Policy* policy = next())
        policy->dump(console);
}
