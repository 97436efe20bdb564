// Writing the output inventory: the hardware as read, plus each controller's configuration.
#include "arrayplan/model/InventoryFile.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RaidLevels.h"
#include "arrayplan/model/RunSettings.h"
#include "foundation/TextFormat.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

// Formatted lines into the replacement of the output file (which writes them in blocks); the first failed
// write makes every later one fail too.
class LineWriter {
public:
    explicit LineWriter(FileReplacement& file) : file_(file) {}

    void print(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        if (!FormatTextInto(line_, format, args))
            ok_ = false;
        else if (!line_.empty())
            ok_ = file_.Write(line_.data(), line_.size()) && ok_;
        va_end(args);
    }
    bool ok() const { return ok_; }

private:
    FileReplacement& file_;
    std::string line_;
    bool ok_ = true;
};

int memberSize(const RaidController& controller, const RaidArray& array, int index) {
    if (!array.members.empty()) {
        const DrivePosition& member = *array.members.at(index);
        return controller.driveSize(member.channel, member.id);
    }
    int channel = -1, id = -1;
    controller.findDriveNumber(*array.driveNumbers.at(index), channel, id);
    return controller.driveSize(channel, id);
}

// The drive numbers of the members, joined by ",".
std::string memberNumbers(const RaidController& controller, const RaidArray& array) {
    std::string joined;
    for (int i = 0; i < array.memberCount(); ++i) {
        const DrivePosition* member = array.members.at(i);
        int number = member ? controller.driveNumber(member->channel, member->id) : *array.driveNumbers.at(i);
        if (i > 0)
            joined += ',';
        joined += std::to_string(number);
    }
    return joined;
}

int hotSpareNumber(const RaidController& controller, const RaidHotSpare& spare) {
    if (spare.channel() < 0)
        return spare.driveNumber();
    return controller.driveNumber(spare.channel(), spare.id());
}

std::string sizeText(const RaidController& controller, const RaidConfiguration& configuration, int index) {
    int size = configuration.logicalDriveAt(index)->size;
    if (size == kSizeFill)
        return std::to_string(fillSize(controller, configuration, index));
    return std::to_string(size);
}

void writeConfiguration(LineWriter& out, const RaidController& controller, int c) {
    static const RaidConfiguration kNone;
    const RaidConfiguration& configuration = controller.configuration() ? *controller.configuration() : kNone;
    out.print("\n[%s.%d.%s]\n", "RAIDController", c, "Array");
    out.print("%s = %d\n", "Total_Number_Of_Arrays", configuration.arrayCount());
    for (int a = 1; a <= configuration.arrayCount(); ++a) {
        out.print("ID.%d = %c \n", a, arrayLetter(a - 1));
        out.print("%s.%d = ", "Members", a);
        out.print("%s \n", memberNumbers(controller, *configuration.arrayAt(a - 1)).c_str());
    }
    int spares = 0;
    while (configuration.hotSpareAt(spares))
        ++spares;
    out.print("\n[%s.%d.%s]\n", "RAIDController", c, "Hotspares");
    out.print("%s = %d\n", "Total_Number_Of_Hotspares", spares);
    for (int h = 1; h <= spares; ++h)
        out.print("%s.%d = %d \n", "Physical", h,
                  hotSpareNumber(controller, *configuration.hotSpareAt(h - 1)));
    out.print("\n[%s.%d.%s]\n", "RAIDController", c, "Logical");
    out.print("%s = %d\n", "Total_Number_Of_Logicals", configuration.logicalDriveCount());
    for (int l = 1; l <= configuration.logicalDriveCount(); ++l) {
        const RaidLogicalDrive& logical = *configuration.logicalDriveAt(l - 1);
        out.print("%s.%d = %c\n", "Array", l, arrayLetter(logical.arrayIndex));
        out.print("%s.%d = %s\n", "Size", l, sizeText(controller, configuration, l - 1).c_str());
        out.print("%s.%d = %s\n", "Raid_Level", l, raidLevelText(logical.raidLevel));
    }
}

void writePhysicals(LineWriter& out, const RaidController& controller, int c) {
    out.print("\n[%s.%d.%s]\n", "RAIDController", c, "Physical");
    out.print("%s = %d\n", "Total_Number_Of_Physicals", controller.driveCount());
    int p = 0;
    for (int channel = 1; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id) {
            const DriveSlot& slot = *controller.drive(channel, id);
            if (slot.size <= 0)
                continue;
            ++p;
            out.print("%s.%d = %d\n", "Channel", p, channel);
            out.print("%s.%d = %d\n", "ID", p, id);
            out.print("%s.%d = %ld\n", "Size", p, static_cast<long>(slot.size));
            const char* type =
                slot.type.empty() ? defaultDriveInterface(controller.type()) : slot.type.c_str();
            if (type[0] != '\0')
                out.print("%s.%d = %s\n", "Type", p, type);
        }
    }
}

void writeController(LineWriter& out, const RaidController& controller, int c) {
    out.print("\n[%s.%d] \n", "RAIDController", c);
    out.print("%s = %s \n", "Model", controller.modelName());
    if (!controller.biosVersion().empty())
        out.print("%s = %s \n", "BIOSVersion", controller.biosVersion().c_str());
    if (!controller.firmwareVersion().empty())
        out.print("%s = %s \n", "FirmwareVersion", controller.firmwareVersion().c_str());
    const RaidConfiguration* configuration = controller.configuration();
    if (configuration && stripeSizeText(configuration->stripeSize)[0] != '\0')
        out.print("%s = %s \n", "StripeSize", stripeSizeText(configuration->stripeSize));
    writeConfiguration(out, controller, c);
    writePhysicals(out, controller, c);
}

// The data space written for an array: the mirrored levels' half rounded up, never below 0.
long long writtenDataSpace(int level, long long memberCount, long long smallestSize) {
    return std::max((doubledDataSpace(level, memberCount, smallestSize) + 1) / 2, 0LL);
}

} // namespace

long long fillSize(const RaidController& controller, const RaidConfiguration& configuration,
                   int logicalIndex) {
    const RaidLogicalDrive& logical = *configuration.logicalDriveAt(logicalIndex);
    const RaidArray* array = configuration.arrayAt(logical.arrayIndex);
    if (!array)
        return 0;
    long long smallest = 0;
    for (int i = 0; i < array->memberCount(); ++i) {
        long long size = memberSize(controller, *array, i);
        if (size > 0 && (smallest == 0 || size < smallest))
            smallest = size;
    }
    long long left = writtenDataSpace(logical.raidLevel, array->memberCount(), smallest);
    for (int i = 0; i < configuration.logicalDriveCount(); ++i) {
        const RaidLogicalDrive& other = *configuration.logicalDriveAt(i);
        if (i != logicalIndex && other.arrayIndex == logical.arrayIndex && other.size > 0)
            left -= other.size;
    }
    return std::max(left, 0LL);
}

bool writeInventory(RunSettings& settings, OutputFile& output, const ControllerList& controllers) {
    if (!output.begin()) {
        settings.reportError(("FORMAT:Error writing " + output.path()).Text());
        settings.printPlain(("\n" + output.failureLine()).c_str());
        return false;
    }
    LineWriter out(output.contents());
    out.print("[%s]\n", "System");
    if (!settings.machineType.IsEmpty())
        out.print("%s = %s \n", "Machine_Type", settings.machineType.Text());
    if (!settings.serialNumber.IsEmpty())
        out.print("%s = %s \n", "Serial_Number", settings.serialNumber.Text());
    out.print("%s = %d \n", "Total_Number_Of_Controllers", controllers.size());
    for (int i = 0; i < controllers.size(); ++i)
        writeController(out, *controllers.at(i), i + 1);
    if (out.ok() ? output.commit() : output.fail())
        return true;
    settings.printPlain(output.failureLine().c_str());
    return false;
}
