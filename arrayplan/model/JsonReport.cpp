#include "arrayplan/model/JsonReport.h"

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RaidLevels.h"
#include "arrayplan/model/RunSettings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>

using json = nlohmann::ordered_json;

namespace {

// A message of the code table without its line end.
std::string messageText(const char* message) {
    std::string text = message;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

json resultObject(ResultCode code) {
    return {{"code", resultStatus(code)}, {"message", resultText(code)}};
}

int memberNumber(const RaidController& controller, const RaidArray& array, int index) {
    if (const DrivePosition* member = array.members.at(index))
        return controller.driveNumber(member->channel, member->id);
    return *array.driveNumbers.at(index);
}

int numberedDriveSize(const RaidController& controller, int number) {
    int channel = -1, id = -1;
    controller.findDriveNumber(number, channel, id);
    return std::max(controller.driveSize(channel, id), 0);
}

int hotSpareNumber(const RaidController& controller, const RaidHotSpare& spare) {
    return spare.channel() < 0 ? spare.driveNumber() : controller.driveNumber(spare.channel(), spare.id());
}

// The level of an array: that of its first logical drive; kRaidLevelNotSet when it holds none.
int arrayLevel(const RaidConfiguration& configuration, int arrayIndex) {
    for (int l = 0; const RaidLogicalDrive* logical = configuration.logicalDriveAt(l); ++l) {
        if (logical->arrayIndex == arrayIndex)
            return logical->raidLevel;
    }
    return kRaidLevelNotSet;
}

json levelValue(int level) {
    const char* text = raidLevelText(level);
    return text && text[0] != '\0' ? json(text) : json(nullptr);
}

// The logical drives of an array, sized as the output inventory writes them.
json logicalDrives(const RaidController& controller, const RaidConfiguration& configuration, int arrayIndex) {
    json drives = json::array();
    for (int l = 0; const RaidLogicalDrive* logical = configuration.logicalDriveAt(l); ++l) {
        if (logical->arrayIndex != arrayIndex)
            continue;
        bool fill = logical->size == kSizeFill;
        long long size = fill ? fillSize(controller, configuration, l) : logical->size;
        drives.push_back({{"size_mb", size}, {"raid_level", levelValue(logical->raidLevel)}, {"fill", fill}});
    }
    return drives;
}

struct ControllerSpace {
    std::set<int> used; // drive numbers of members and hot spares
    long long wasted = 0;
};

json arrayObject(const RaidController& controller, const RaidConfiguration& configuration, int a,
                 ControllerSpace& space) {
    const RaidArray& array = *configuration.arrayAt(a);
    json members = json::array();
    long long smallest = -1, total = 0;
    for (int i = 0; i < array.memberCount(); ++i) {
        int number = memberNumber(controller, array, i);
        long long size = numberedDriveSize(controller, number);
        members.push_back(number);
        space.used.insert(number);
        total += size;
        smallest = smallest < 0 ? size : std::min(smallest, size);
    }
    smallest = std::max(smallest, 0LL);
    space.wasted += total - smallest * array.memberCount();
    int level = arrayLevel(configuration, a);
    // The mirrored levels' half rounded up, as the output inventory sizes a filled drive.
    long long usable = std::max((doubledDataSpace(level, array.memberCount(), smallest) + 1) / 2, 0LL);
    return {{"id", std::string(1, arrayLetter(a))},
            {"members", members},
            {"member_size_mb", smallest},
            {"raid_level", levelValue(level)},
            {"usable_mb", usable},
            {"logical_drives", logicalDrives(controller, configuration, a)}};
}

json controllerObject(const RaidController& controller, int number, ResultCode planningFailure) {
    static const RaidConfiguration kNone;
    const RaidConfiguration* planned = controller.configuration();
    const RaidConfiguration& configuration = planned ? *planned : kNone;
    ControllerSpace space;
    json arrays = json::array();
    for (int a = 0; a < configuration.arrayCount(); ++a)
        arrays.push_back(arrayObject(controller, configuration, a, space));
    json spares = json::array();
    for (int h = 0; const RaidHotSpare* spare = configuration.hotSpareAt(h); ++h) {
        spares.push_back(hotSpareNumber(controller, *spare));
        space.used.insert(spares.back().get<int>());
    }
    json unused = json::array();
    for (int n = 1; n <= controller.driveCount(); ++n) {
        if (space.used.count(n) == 0) {
            unused.push_back(n);
            space.wasted += numberedDriveSize(controller, n);
        }
    }
    bool failed = !planned && planningFailure != ResultCode::Success;
    return {{"number", number},
            {"model", controller.modelName()},
            {"policy", planned ? json(configuration.policyName) : json(nullptr)},
            {"planned", planned != nullptr},
            {"arrays", arrays},
            {"hot_spares", spares},
            {"unused_drives", unused},
            {"wasted_mb", space.wasted},
            {"failure", failed ? resultObject(planningFailure) : json(nullptr)}};
}

// "A:5:1+2+3 B:1:4+5" from a controller object's arrays.
std::string arraysText(const json& arrays) {
    std::string text;
    for (const json& array : arrays) {
        text += (text.empty() ? "" : " ") + array["id"].get<std::string>() + ":";
        if (!array["raid_level"].is_null())
            text += array["raid_level"].get<std::string>();
        text += ":";
        std::string members;
        for (const json& member : array["members"])
            members += (members.empty() ? "" : "+") + std::to_string(member.get<int>());
        text += members;
    }
    return text;
}

} // namespace

int resultStatus(ResultCode code) {
    return code == ResultCode::Success ? 0 : failureExitStatus(code);
}

std::string resultText(ResultCode code) {
    return code == ResultCode::Success ? "Validation Completed" : failureText(code);
}

std::string failureText(ResultCode code) {
    return messageText(resultMessage(code));
}

std::vector<ControllerSummary> controllerSummaries(const ControllerList& controllers) {
    std::vector<ControllerSummary> summaries;
    for (int i = 0; i < controllers.size(); ++i) {
        json object = controllerObject(*controllers.at(i), i + 1, ResultCode::Success);
        ControllerSummary summary;
        summary.number = i + 1;
        summary.model = object["model"].get<std::string>();
        if (!object["policy"].is_null())
            summary.policy = object["policy"].get<std::string>();
        summary.arrays = arraysText(object["arrays"]);
        for (const json& array : object["arrays"])
            summary.usableMb += array["usable_mb"].get<long long>();
        summary.wastedMb = object["wasted_mb"].get<long long>();
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

std::string jsonReport(const RunSettings& settings, const ControllerList& controllers, ResultCode result,
                       ResultCode planningFailure) {
    json controllerArray = json::array();
    for (int i = 0; i < controllers.size(); ++i)
        controllerArray.push_back(controllerObject(*controllers.at(i), i + 1, planningFailure));
    json report = {{"result", resultObject(result)},
                   {"machine_type", settings.machineType.Str()},
                   {"serial_number", settings.serialNumber.Str()},
                   {"controllers", controllerArray}};
    // Texts of the inventory that are not UTF-8 are replaced rather than refused.
    return report.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

bool writeJsonReport(OutputFile& output, const std::string& text) {
    if (!output.begin())
        return false;
    if (!output.contents().Write(text.data(), text.size()))
        return output.fail();
    return output.commit();
}
