// The limits of one controller model, read from its support file "<directory><model>.ini".
#pragma once

#include "foundation/CString.h"
#include "foundation/TextFile.h"

#include <string>
#include <vector>

class Console;
class IniFile;

struct LevelLimits {
    int level = -1;
    int minPhysicalDrives = 1;
    int maxPhysicalDrives = 16;
    int maxLogicalDrives = 8;
};

class ControllerIni {
public:
    // directory ends with a separator or is empty (the current directory); messages go to console.
    ControllerIni(const CString& directory, const char* modelName, Console& console, FileSystem& fileSystem);

    static CString fileName(const CString& directory, const char* modelName);
    const CString& fileName() const { return fileName_; }

    // False when the file does not exist, cannot be read or lists a RAID level that is not known.
    bool load();
    // The same for text given as the file's contents (its name still names it in messages).
    bool loadText(TextContents text);
    // Takes the outcome of parsed's load (its limits, or its failure) as this file's own, keeping this
    // one's console and file system: a support file parsed once serves many runs.
    void adoptLoad(const ControllerIni& parsed);
    // After a load that failed on a file that cannot be read: "<file>: <reason>\n", for the line after the
    // caller's failure line; empty otherwise.
    const std::string& failureLine() const { return failureLine_; }

    // Each prints the supported values of the model when the answer is no.
    bool stripeSizeSupported(const char* stripeText) const;
    bool raidLevelSupported(int level) const;
    // The level's entry, or -1 when the level is not listed.
    int minPhysicalDrives(int level) const;
    int maxPhysicalDrives(int level) const;
    int maxLogicalDrives(int level) const;

    const std::string& model() const { return model_; }
    const std::vector<int>& stripeSizes() const { return stripeSizes_; } // StripeSize codes
    const std::vector<LevelLimits>& levels() const { return levels_; }
    int maxHotSpares() const { return maxHotSpares_; }
    int maxArrays() const { return maxArrays_; }
    int maxLogicalDrivesInArray() const { return maxLogicalDrivesInArray_; }
    int maxTotalLogicalDrives() const { return maxTotalLogicalDrives_; }
    int maxTotalPhysicalDrives() const { return maxTotalPhysicalDrives_; }
    const std::string& toolDos() const { return toolDos_; }
    const std::string& toolLinux() const { return toolLinux_; }
    const std::string& toolWindows() const { return toolWindows_; }
    const std::vector<std::string>& pciIdentities() const { return pci_; }
    bool sharesPci() const { return sharePci_; }

    void dump() const; // the debug dump of every field

private:
    bool loadFrom(const IniFile& ini);
    const LevelLimits* findLevel(int level) const;

    Console* console_;
    FileSystem* fileSystem_;
    CString fileName_;
    std::string failureLine_;
    std::string model_;
    std::vector<int> stripeSizes_;
    std::vector<LevelLimits> levels_;
    int maxHotSpares_ = 8;
    int maxArrays_ = 8;
    int maxLogicalDrivesInArray_ = 8;
    int maxTotalLogicalDrives_ = 8;
    int maxTotalPhysicalDrives_ = 64;
    std::string toolDos_;
    std::string toolLinux_;
    std::string toolWindows_;
    std::vector<std::string> pci_;
    bool sharePci_ = false;
};
