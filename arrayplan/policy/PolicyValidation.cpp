#include "arrayplan/policy/PolicyValidation.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/NumberText.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyList.h"
#include "arrayplan/policy/PolicyReader.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextCase.h"

#include <memory>

namespace {

constexpr int kDebugLevel = 5;

// Keywords that accept a fixed set of values. A text field keeps the value as written; a code field
// takes the position of the value in the list.
struct FixedKeyword {
    const char* keyword;
    std::vector<const char*> values;
    CString Policy::*text;
    int Policy::*code;
};

const FixedKeyword kFixedKeywords[] = {
    {"RebuildRate", {"HIGH", "MED", "LOW"}, &Policy::rebuildRate, nullptr},
    {"ReadAhead", {"ADAPTIVE", "ON", "OFF"}, &Policy::readAhead, nullptr},
    {"StripeSize",
     {"8", "16", "32", "64", "128", "256", "512", "1024", "2048", "4096"},
     &Policy::stripeSize,
     nullptr},
    {"Array_Mode", {"AUTO", "CUSTOM"}, nullptr, &Policy::arrayMode},
    {"Logical_Mode", {"AUTO", "CUSTOM"}, nullptr, &Policy::logicalMode},
    {"Init", {"QUICK", "BUILD"}, nullptr, &Policy::init},
};
enum FixedRow { kRebuildRateRow, kReadAheadRow, kStripeSizeRow, kArrayModeRow, kLogicalModeRow, kInitRow };

constexpr const char* kVariances[] = {"0%", "5%", "10%", "100%"};
constexpr int kVarianceValues[] = {0, 5, 10, 100};

std::string joined(const std::vector<const char*>& values) {
    std::string list;
    for (const char* value : values)
        list += (list.empty() ? "" : " ") + std::string(value);
    return list;
}

// The item kinds of an AppliesTo value that carry a number, where 0 is invalid.
struct NumberSpecifier {
    const char* prefix;
    int AppliesToEntry::*field;
    const char* description;
};

const NumberSpecifier kNumberSpecifiers[] = {
    {"o:", &AppliesToEntry::scanOrder, " -- Invalid scan order:  "},
    {"d:", &AppliesToEntry::driveCount, " -- Invalid number of drives specified:  "},
    {"c:", &AppliesToEntry::controllerNumber, " -- Invalid controller number specified:  "},
};

} // namespace

PolicyValidator::PolicyValidator(PolicyReader& reader) : reader_(reader), settings_(reader.settings()) {}

bool PolicyValidator::validateAll(const std::vector<CString>& names, PolicyList& list) {
    if (settings_.messageLevel == kDebugLevel)
        settings_.printLeveled("\tValidating keywords and values ...\n", kDebugLevel);
    for (const CString& name : names) {
        auto policy = std::make_unique<Policy>(name);
        settings_.printLeveled(("\t" + name + "\n").Text(), kDebugLevel);
        if (!validate(*policy) || !list.append(std::move(policy)))
            return false;
    }
    return true;
}

bool PolicyValidator::validate(Policy& policy) {
    return readAppliesTo(policy) && readFixedValue(policy, kRebuildRateRow) &&
           readFixedValue(policy, kReadAheadRow) && readFixedValue(policy, kStripeSizeRow) &&
           readFixedValue(policy, kArrayModeRow) && readArrayDefaults(policy) && readArrays(policy) &&
           readHotSpares(policy) && readFixedValue(policy, kLogicalModeRow) && readLogicalDefaults(policy) &&
           readLogicalDrives(policy) && readFixedValue(policy, kInitRow);
}

bool PolicyValidator::readAppliesTo(Policy& policy) {
    for (int number = 1; number <= Policy::kMaxAppliesTo; ++number) {
        CString value;
        if (!lookup(policy, "AppliesTo." + std::to_string(number), value)) {
            if (number == 1)
                return fail(policy.name.Str() + " -- Each policy must have an AppliesTo.1");
            continue;
        }
        AppliesToEntry entry;
        for (int i = 0; i < value.ItemCount(","); ++i) {
            std::string item(trimWhite(value.Item(i, ",").Str()));
            if (!readAppliesToItem(policy, number, item, entry))
                return false;
        }
        policy.addAppliesTo(entry);
    }
    return true;
}

// One item of an AppliesTo value; a later item of the same kind replaces an earlier one.
bool PolicyValidator::readAppliesToItem(const Policy& policy, int number, const std::string& item,
                                        AppliesToEntry& entry) {
    std::string message = policy.name.Str() + ", AppliesTo." + std::to_string(number);
    std::string afterColon = item.size() >= 2 ? item.substr(2) : std::string();
    if (item.starts_with("m:")) {
        entry.machineType = CString(afterColon);
        return true;
    }
    if (item.starts_with("s:")) {
        entry.serialNumber = CString(afterColon);
        return true;
    }
    if (item.starts_with("t:")) {
        // Every model name of the catalogue, so that a generated policy can be read back.
        if (!isCatalogueModelName(afterColon.c_str()))
            return fail(message + " -- Invalid controller type:  " + item + "\n");
        entry.controllerType = CString(afterColon);
        return true;
    }
    // The prefixes differ, so testing these after "t:" changes no outcome.
    for (const NumberSpecifier& specifier : kNumberSpecifiers) {
        if (!item.starts_with(specifier.prefix))
            continue;
        int value = readNumber(afterColon);
        if (value == 0 || !leadingNumberFitsInt(afterColon))
            return fail(message + specifier.description + item + "\n");
        entry.*specifier.field = value;
        return true;
    }
    if (EqualsNoCase(item, "ALL")) {
        entry.all = true;
        return true;
    }
    return fail(message + " -- Invalid specifier:  " + item + "\n");
}

bool PolicyValidator::readFixedValue(Policy& policy, int row) {
    const FixedKeyword& fixed = kFixedKeywords[row];
    CString value;
    if (!lookup(policy, fixed.keyword, value))
        return true;
    for (size_t i = 0; i < fixed.values.size(); ++i) {
        if (!value.EqualsNoCase(fixed.values[i]))
            continue;
        if (fixed.text != nullptr)
            policy.*fixed.text = value;
        else
            policy.*fixed.code = static_cast<int>(i);
        return true;
    }
    return fail(policy.name.Str() + ", " + fixed.keyword + " -- Invalid specifier:  " + value.Str() +
                "\n\tValid values are:  " + joined(fixed.values) + "\n");
}

bool PolicyValidator::readArrayDefaults(Policy& policy) {
    CString value;
    if (!lookup(policy, "Array_Defaults", value))
        return true;
    std::string prefix = policy.name.Str() + ", Array_Defaults";
    if (value.ItemCount(":") != 2)
        return fail(prefix + " -- Invalid format:  " + value.Str() +
                    "\n\tValid format is:  variance:hotspares.  Example: 10%:2.\n");
    std::string variancePart = value.Item(0, ":").Str();
    int variance = -1;
    for (size_t i = 0; i < std::size(kVariances); ++i) {
        if (variancePart == kVariances[i])
            variance = kVarianceValues[i];
    }
    if (variance < 0)
        return fail(prefix + " -- Invalid specifier:  " + variancePart +
                    "\n\tValid values are:  0% 5% 10% 100%\n");
    std::string hotSparePart = value.Item(1, ":").Str();
    if (!isNumberOrExactZero(hotSparePart) || readNumber(hotSparePart) < 0)
        return fail(prefix + " -- Invalid specifier:  " + hotSparePart +
                    "\n\tValid values for hotspares are:  integers greater than or equal to zero.\n");
    policy.setArrayDefaults(variance, readNumber(hotSparePart));
    return true;
}

bool PolicyValidator::lookup(const Policy& policy, const std::string& keyword, CString& value) {
    value = reader_.valueOf(policy.name.Text(), keyword.c_str());
    return value != kAbsentValue;
}

bool PolicyValidator::fail(const std::string& message) {
    settings_.reportError(message.c_str());
    return false;
}
