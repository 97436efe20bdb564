#include "arrayplan/policy/GeneratedPolicy.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/RaidController.h"

#include <initializer_list>

namespace {

constexpr const char* kRule = "; *---------------------------------------------------------------*";
constexpr const char* kDefaultTemplate = "t,d";

bool oneOf(int code, std::initializer_list<int> codes) {
    for (int listed : codes) {
        if (code == listed)
            return true;
    }
    return false;
}

// The settings lines a controller type takes; the others are not the controller's to set.
bool writesStripeSize(int type) {
    return !oneOf(type, {5, 10});
}
bool writesRebuildRate(int type) {
    return !oneOf(type, {2, 3, 4, 5, 6, 8, 9, 10, 12});
}
bool writesReadAhead(int type) {
    return !oneOf(type, {3, 4, 5, 6, 8, 9, 10});
}
bool writesWriteCache(int type) {
    return oneOf(type, {1, 2, 6, 7, 8, 11, 12});
}

std::string orError(const char* text) {
    return *text != '\0' ? text : "ERROR";
}

void addLine(std::string& text, const std::string& line) {
    text += line;
    text += '\n';
}

std::string joined(const std::vector<int>& numbers) {
    std::string text;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += ',';
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::vector<int> memberNumbers(const RaidController& controller, const RaidArray& array) {
    std::vector<int> numbers;
    for (const DrivePosition& member : array.members)
        numbers.push_back(controller.driveNumber(member.channel, member.id));
    if (array.members.empty())
        numbers.assign(array.driveNumbers.begin(), array.driveNumbers.end());
    return numbers;
}

std::vector<int> hotSpareNumbers(const RaidController& controller, const RaidConfiguration& configuration) {
    std::vector<int> numbers;
    for (int h = 0; const RaidHotSpare* spare = configuration.hotSpareAt(h); ++h)
        numbers.push_back(spare->channel() < 0 ? spare->driveNumber()
                                               : controller.driveNumber(spare->channel(), spare->id()));
    return numbers;
}

void addSettings(std::string& text, int type, const RaidConfiguration& configuration) {
    size_t before = text.size();
    if (writesStripeSize(type) && configuration.stripeSize != kStripeNotSet)
        addLine(text, "StripeSize = " + orError(stripeSizeText(configuration.stripeSize)));
    if (writesRebuildRate(type))
        addLine(text, "RebuildRate = " + orError(rebuildRateText(configuration.rebuildRate)));
    if (writesReadAhead(type))
        addLine(text, "ReadAhead = " + orError(readAheadText(configuration.readAhead)));
    if (text.size() > before)
        addLine(text, "");
}

std::string logicalDriveValue(int type, const RaidLogicalDrive& logical) {
    std::string size =
        logical.size == kSizeFill || !allowsPartialSizing(type) ? "FILL" : std::to_string(logical.size);
    std::string value(1, arrayLetter(logical.arrayIndex));
    value += ':';
    value += size;
    value += ':';
    value += orError(raidLevelText(logical.raidLevel));
    if (writesWriteCache(type) && logical.writeCache != kWriteCacheAuto) {
        value += ':';
        value += orError(writeCacheText(logical.writeCache));
    }
    return value;
}

} // namespace

CString generatedPolicyName(const char* modelName, const std::vector<CString>& taken) {
    CString stem = "Policy.AUTO-";
    for (const char* c = modelName; *c != '\0'; ++c)
        stem += *c == ' ' ? '_' : *c;
    stem += "-";
    for (int k = 1;; ++k) {
        CString name = stem + CString(k);
        bool used = false;
        for (const CString& other : taken)
            used = used || other.EqualsNoCase(name);
        if (!used)
            return name;
    }
}

std::string generatedPolicyHeader(const GeneratedPolicyFacts& facts, const char* modelName, const char* date,
                                  const char* time) {
    std::string text;
    addLine(text, "");
    addLine(text, "");
    addLine(text, kRule);
    addLine(text, std::string("; * ") + "KLAMP auto-generated policy.");
    addLine(text, std::string("; * ") + "Captured on (mm/dd/yyyy): " + date);
    addLine(text, std::string("; * ") + "System time (hh:mm:ss):   " + time);
    addLine(text, std::string("; * ") + "System machine type:      " + facts.machineType.Text());
    addLine(text, std::string("; * ") + "System serial number:     " + facts.serialNumber.Text());
    addLine(text,
            std::string("; * ") + "Controller number:        " + std::to_string(facts.controllerNumber));
    addLine(text, std::string("; * ") + "Controller type:          " + modelName);
    addLine(text, kRule);
    addLine(text, "");
    return text;
}

bool applicabilityValue(const GeneratedPolicyFacts& facts, const RaidController& controller,
                        std::string& value) {
    CString items =
        facts.applicabilityTemplate.IsEmpty() ? CString(kDefaultTemplate) : facts.applicabilityTemplate;
    value.clear();
    for (int i = 0; i < items.ItemCount(","); ++i) {
        CString item = items.Item(i, ",").Trim();
        if (item.EqualsNoCase("ALL")) {
            value = "ALL";
            return true;
        }
        CString specifier = item.MakeLower() + ":";
        std::string fact;
        if (specifier == "m:")
            fact = facts.machineType.Str();
        else if (specifier == "s:")
            fact = facts.serialNumber.Str();
        else if (specifier == "c:")
            fact = std::to_string(facts.controllerNumber);
        else if (specifier == "o:")
            fact = std::to_string(controller.scanOrder());
        else if (specifier == "t:")
            fact = controller.modelName();
        else if (specifier == "d:")
            fact = std::to_string(controller.driveCount());
        else
            return false;
        if (!value.empty())
            value += ',';
        value += specifier.Str();
        value += fact;
    }
    return true;
}

std::string generatedPolicyBody(const RaidController& controller, const CString& name,
                                const std::string& appliesTo) {
    const RaidConfiguration& configuration = *controller.configuration();
    int type = controller.type();
    std::string text;
    addLine(text, "[" + name.Str() + "]");
    addLine(text, "");
    addLine(text, "AppliesTo.1 = " + appliesTo);
    addLine(text, "");
    addSettings(text, type, configuration);
    addLine(text, "Array_Mode = CUSTOM");
    for (int a = 0; const RaidArray* array = configuration.arrayAt(a); ++a)
        addLine(text,
                std::string("Array.") + arrayLetter(a) + " = " + joined(memberNumbers(controller, *array)));
    addLine(text, "");
    std::vector<int> spares = hotSpareNumbers(controller, configuration);
    if (!spares.empty()) {
        addLine(text, "Hotspares = " + joined(spares));
        addLine(text, "");
    }
    addLine(text, "Logical_Mode = CUSTOM");
    for (int j = 0; const RaidLogicalDrive* logical = configuration.logicalDriveAt(j); ++j)
        addLine(text, "Logical." + std::to_string(j + 1) + " = " + logicalDriveValue(type, *logical));
    addLine(text, "");
    return text;
}
