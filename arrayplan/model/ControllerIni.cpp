#include "arrayplan/model/ControllerIni.h"

#include "arrayplan/model/RaidEnums.h"
#include "foundation/Console.h"
#include "foundation/IniFile.h"

#include <algorithm>

namespace {

const char* const kSection = "RAIDController";

// The items as listed, untrimmed: "RAIDLevels = 0, 5" names the sections "0" and " 5".
std::vector<CString> itemsOf(const CString& list) {
    std::vector<CString> items;
    int count = list.ItemCount(",");
    for (int i = 0; i < count; ++i)
        items.push_back(list.Item(i, ","));
    return items;
}

std::string valueOf(const IniFile& ini, const char* key) {
    return ini.GetValue(kSection, key, "").Str();
}

// The texts of codes joined by ", ", as the "supported" listings print them.
template <typename TextOf> std::string joinedTexts(const std::vector<int>& codes, TextOf textOf) {
    std::string joined;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i > 0)
            joined += ", ";
        joined += textOf(codes[i]);
    }
    return joined;
}

} // namespace

ControllerIni::ControllerIni(const CString& directory, const char* modelName, Console& console,
                             FileSystem& fileSystem)
    : console_(&console), fileSystem_(&fileSystem), fileName_(fileName(directory, modelName)) {}

CString ControllerIni::fileName(const CString& directory, const char* modelName) {
    return directory + modelName + ".ini";
}

bool ControllerIni::load() {
    IniFile ini(*fileSystem_, fileName_, true);
    if (!ini.FileExists()) {
        console_->OutFormat("%s doesn't exists\n", fileName_.Text());
        return false;
    }
    return loadFrom(ini);
}

void ControllerIni::adoptLoad(const ControllerIni& parsed) {
    Console* console = console_;
    FileSystem* fileSystem = fileSystem_;
    *this = parsed;
    console_ = console;
    fileSystem_ = fileSystem;
}

bool ControllerIni::loadText(TextContents text) {
    return loadFrom(IniFile(text, true));
}

bool ControllerIni::loadFrom(const IniFile& ini) {
    // A file that cannot be read would otherwise pass for one without limits.
    if (ini.IsUnreadable()) {
        failureLine_ = fileName_.Str() + ": " + ini.ReadFailureReason() + "\n";
        return false;
    }
    model_ = valueOf(ini, "Model");
    stripeSizes_.clear();
    for (const CString& item : itemsOf(ini.GetValue(kSection, "StripeSizes", ""))) {
        int code = stripeSizeFromText(item.Trim("K").Text());
        if (code >= 0)
            stripeSizes_.push_back(code);
    }
    maxHotSpares_ = ini.GetInt(kSection, "MaxHotSpares", 8);
    maxArrays_ = ini.GetInt(kSection, "MaxArrays", 8);
    levels_.clear();
    for (const CString& item : itemsOf(ini.GetValue(kSection, "RAIDLevels", ""))) {
        int level = raidLevelFromText(item.Text());
        if (level < 0) {
            console_->Out("DEBUG:RAID Level not supported\n");
            return false;
        }
        levels_.push_back(LevelLimits{level, ini.GetInt(item.Text(), "MinPhysicalDrives", 1),
                                      ini.GetInt(item.Text(), "MaxPhysicalDrives", 16),
                                      ini.GetInt(item.Text(), "MaxLogicalDrives", 8)});
    }
    maxLogicalDrivesInArray_ = ini.GetInt(kSection, "MaxLogicalDrivesInArray", 8);
    maxTotalLogicalDrives_ = ini.GetInt(kSection, "MaxTotalLogicalDrives", 8);
    maxTotalPhysicalDrives_ = ini.GetInt(kSection, "MaxTotalPhysicalDrives", 64);
    toolDos_ = valueOf(ini, "Tool.dos");
    toolLinux_ = valueOf(ini, "Tool.linux");
    toolWindows_ = valueOf(ini, "Tool.windows");
    pci_.clear();
    for (const CString& item : itemsOf(ini.GetValue(kSection, "PCI", "")))
        pci_.push_back(item.Str());
    sharePci_ = ini.GetValue(kSection, "SharePCI", "").EqualsNoCase("TRUE");
    return true;
}

bool ControllerIni::stripeSizeSupported(const char* stripeText) const {
    int code = stripeSizeFromText(stripeText);
    if (code >= 0 && std::find(stripeSizes_.begin(), stripeSizes_.end(), code) != stripeSizes_.end())
        return true;
    Console& console = *console_;
    console.OutFormat("\nSupported Stripe sizes for %s are: ", model_.c_str());
    console.OutFormat("%s", joinedTexts(stripeSizes_, stripeSizeText).c_str());
    console.Out("\n");
    return false;
}

bool ControllerIni::raidLevelSupported(int level) const {
    if (findLevel(level))
        return true;
    std::vector<int> codes;
    for (const LevelLimits& limits : levels_)
        codes.push_back(limits.level);
    Console& console = *console_;
    console.OutFormat("\nSupported RAID levels for %s are: ", model_.c_str());
    console.OutFormat("%s", joinedTexts(codes, raidLevelText).c_str());
    console.Out("\n");
    return false;
}

const LevelLimits* ControllerIni::findLevel(int level) const {
    for (const LevelLimits& limits : levels_) {
        if (limits.level == level)
            return &limits;
    }
    return nullptr;
}

int ControllerIni::minPhysicalDrives(int level) const {
    const LevelLimits* limits = findLevel(level);
    return limits ? limits->minPhysicalDrives : -1;
}

int ControllerIni::maxPhysicalDrives(int level) const {
    const LevelLimits* limits = findLevel(level);
    return limits ? limits->maxPhysicalDrives : -1;
}

int ControllerIni::maxLogicalDrives(int level) const {
    const LevelLimits* limits = findLevel(level);
    return limits ? limits->maxLogicalDrives : -1;
}

void ControllerIni::dump() const {
    Console& console = *console_;
    console.OutFormat("Model=%s\n", model_.c_str());
    std::string stripes;
    for (int code : stripeSizes_)
        stripes += std::string(stripes.empty() ? "" : ",") + stripeSizeText(code);
    console.OutFormat("Stripsizes=%s\n", stripes.c_str());
    console.OutFormat("MaxHotSpares=%d\n", maxHotSpares_);
    console.OutFormat("MaxArrays=%d\n", maxArrays_);
    console.OutFormat("MaxLogicalDrivesInArray=%d\n", maxLogicalDrivesInArray_);
    console.OutFormat("MaxTotalLogicalDrives=%d\n", maxTotalLogicalDrives_);
    console.OutFormat("MaxTotalPhysicalDrives=%d\n", maxTotalPhysicalDrives_);
    console.OutFormat("Tool_dos=%s\n", toolDos_.c_str());
    console.OutFormat("Tool_linux=%s\n", toolLinux_.c_str());
    console.OutFormat("Tool_windows=%s\n", toolWindows_.c_str());
    std::string pci;
    for (const std::string& identity : pci_)
        pci += (pci.empty() ? "" : ",") + identity;
    console.OutFormat("%s\n", pci.c_str());
    console.Out(sharePci_ ? "SharePCI=true\n" : "SharePCI=false\n");
    for (const LevelLimits& limits : levels_) {
        const char* text = raidLevelText(limits.level);
        console.OutFormat("RAID=%s\n", text[0] != '\0' ? text : "UNKNOWN");
        console.OutFormat("  MinPhysicalDrives=%d\n", limits.minPhysicalDrives);
        console.OutFormat("  MaxPhysicalDrives=%d\n", limits.maxPhysicalDrives);
        console.OutFormat("  MaxLogicalDrives=%d\n", limits.maxLogicalDrives);
    }
}
