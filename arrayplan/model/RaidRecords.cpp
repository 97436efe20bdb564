#include "arrayplan/model/RaidRecords.h"

bool RaidHotSpare::setId(int id) {
    if (id < 0 || id > 31)
        return false;
    id_ = id;
    return true;
}

bool RaidHotSpare::setDriveNumber(int number) {
    if (number < 0)
        return false;
    driveNumber_ = number;
    return true;
}
