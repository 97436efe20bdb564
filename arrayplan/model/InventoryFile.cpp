#include "arrayplan/model/InventoryFile.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/NumberText.h"
#include "arrayplan/model/RunSettings.h"
#include "foundation/Console.h"
#include "foundation/IniFile.h"

#include <climits>
#include <cstdio>
#include <map>
#include <string>

namespace {

std::string sectionName(int controller, const char* part = nullptr) {
    char name[64];
    if (part)
        std::snprintf(name, sizeof name, "RAIDController.%d.%s", controller, part);
    else
        std::snprintf(name, sizeof name, "RAIDController.%d", controller);
    return name;
}

std::string numberedKey(const char* key, int number) {
    return key + std::string(".") + std::to_string(number);
}

// A refused input value: the reason in the error form, then the load fails with code 2.
bool refuse(const RunSettings& settings, const std::string& reason) {
    settings.printErrorForm((reason + "\n").c_str());
    return false;
}

ResultCode refused(const RunSettings& settings, const std::string& reason) {
    refuse(settings, reason);
    return ResultCode::InventoryUnparsable;
}

// A drive size as atol reads it ("73000MB" and "+73000" are 73000), within 0 and the 32-bit range of the
// model: a negative size names no drive, and a larger one would be cut.
bool parseSize(const std::string& text, int& size) {
    long long value = leadingNumber(text);
    if (value < 0 || value > INT_MAX)
        return false;
    size = static_cast<int>(value);
    return true;
}

// One Channel/ID/Size/Type entry of a Physical section into the controller's grid.
bool readDrive(const RunSettings& settings, const IniFile& ini, const std::string& section, int p,
               RaidController& controller) {
    int channel = ini.GetInt(section.c_str(), numberedKey("Channel", p).c_str(), -1);
    if (channel < 0)
        return false;
    std::string where = section + ", drive " + std::to_string(p);
    if (channel >= RaidController::kChannels)
        return refuse(settings, where + ": channel " + std::to_string(channel) + " is outside 0..4");
    std::string idKey = numberedKey("ID", p);
    if (ini.GetValue(section.c_str(), idKey.c_str(), "").IsEmpty())
        return refuse(settings, where + ": no ID");
    int id = ini.GetInt(section.c_str(), idKey.c_str(), -1);
    if (id < 0 || id >= RaidController::kIds)
        return refuse(settings, where + ": ID " + std::to_string(id) + " is outside 0..31");
    std::string sizeText = ini.GetValue(section.c_str(), numberedKey("Size", p).c_str(), "").Str();
    int size = 0;
    if (sizeText.empty())
        return false; // like a missing channel: the run's parse error is the whole message
    if (!parseSize(sizeText, size))
        return refuse(settings, where + ": size \"" + sizeText + "\" is not a whole number of MB");
    std::string type = ini.GetValue(section.c_str(), numberedKey("Type", p).c_str(), "").Str();
    return controller.setDrive(channel, id, size, type);
}

bool readController(const RunSettings& settings, const IniFile& ini, int c, ControllerList& controllers) {
    std::string section = sectionName(c);
    CString model = ini.GetValue(section.c_str(), "Model", "");
    auto controller = std::make_unique<RaidController>(controllerTypeOf(model), variantOf(model));
    controller->setBiosVersion(ini.GetValue(section.c_str(), "BIOSVersion", "").Str());
    controller->setFirmwareVersion(ini.GetValue(section.c_str(), "FirmwareVersion", "").Str());
    std::string physical = sectionName(c, "Physical");
    int drives = ini.GetInt(physical.c_str(), "Total_Number_Of_Physicals", 0);
    for (int p = 1; p <= drives; ++p) {
        if (!readDrive(settings, ini, physical, p, *controller))
            return false;
    }
    return controllers.put(c - 1, std::move(controller));
}

// Scan orders count 1, 2, ... within each scan group, in inventory order.
void numberScanOrders(ControllerList& controllers) {
    std::map<int, int> lastInGroup;
    for (int i = 0; RaidController* controller = controllers.at(i); ++i)
        controller->setScanOrder(++lastInGroup[scanGroup(controller->type())]);
}

ResultCode checkModels(const IniFile& ini, int count) {
    for (int c = 1; c <= count; ++c) {
        CString model = ini.GetValue(sectionName(c).c_str(), "Model", "");
        if (model.IsEmpty())
            return ResultCode::InventoryUnparsable;
        if (!isCatalogueModelName(model))
            return ResultCode::ControllerUnsupported;
    }
    return ResultCode::Success;
}

ResultCode loadFrom(RunSettings& settings, const CString& path, const IniFile& ini,
                    ControllerList& controllers) {
    // Read as empty it would pass for a file without controllers.
    if (ini.IsUnreadable())
        return refused(settings, path.Str() + ": " + ini.ReadFailureReason());
    settings.machineType = ini.GetValue("System", "Machine_Type", "");
    settings.serialNumber = ini.GetValue("System", "Serial_Number", "");
    int count = ini.GetInt("System", "Total_Number_Of_Controllers", 0);
    if (count < 1) {
        settings.printErrorForm("No Controllers Found in Inventory File");
        return ResultCode::ControllerUnsupported;
    }
    if (count > ControllerList::kMaxControllers)
        return refused(settings, "Total_Number_Of_Controllers is " + std::to_string(count) + "; at most " +
                                     std::to_string(ControllerList::kMaxControllers) +
                                     " controllers are supported");
    if (ResultCode code = checkModels(ini, count); code != ResultCode::Success)
        return code;
    for (int c = 1; c <= count; ++c) {
        if (!readController(settings, ini, c, controllers))
            return ResultCode::InventoryUnparsable;
    }
    controllers.setCount(count);
    numberScanOrders(controllers);
    return ResultCode::Success;
}

} // namespace

ResultCode loadInventory(RunSettings& settings, const CString& path, ControllerList& controllers) {
    IniFile ini(settings.fileSystem(), path, true);
    if (!ini.FileExists()) {
        settings.console().OutFormat("%s doesn't exists%s", path.Text(), "\n");
        return ResultCode::InventoryUnparsable;
    }
    return loadFrom(settings, path, ini, controllers);
}

ResultCode loadInventoryText(RunSettings& settings, const CString& path, TextContents text,
                             ControllerList& controllers) {
    return loadFrom(settings, path, IniFile(text, true), controllers);
}
