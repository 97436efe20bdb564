#include "drvstage/DriverSetLint.h"

#include "drvstage/AdsCollisions.h"
#include "drvstage/DriverInfoFile.h"
#include "drvstage/FileLookup.h"
#include "drvstage/ItemList.h"
#include "foundation/Console.h"
#include "foundation/IniFile.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 3;
// The bytes of a driver file looked at for binary content; a driver file is a few hundred.
constexpr size_t kTextProbe = 65536;
constexpr const char* kFlagKeys[] = {"Automatically Reboots", "Reboot Required", "Required For ADS"};

// The text in lower case without blanks: two texts equal so differ only in letter case or blanks.
CString Loosened(const CString& text) {
    CString loose;
    for (int i = 0; i < text.Length(); ++i) {
        if (!std::strchr(kWhiteSet, text.At(i)))
            loose += text.At(i);
    }
    loose.MakeLower();
    return loose;
}

int EditDistance(const CString& a, const CString& b) {
    std::vector<int> row(b.Length() + 1);
    for (int j = 0; j <= b.Length(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.Length(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.Length(); ++j) {
            int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a.At(i - 1) == b.At(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.Length()];
}

class Lint {
public:
    explicit Lint(const CopySettings& settings) : source_(settings.sourcePath) {}

    int Run();

private:
    bool ReadDriverSet();
    bool CheckFolder(const CString& name);
    void CheckDriverFile(const CString& path);
    void CheckFlags(const CString& path);
    void CheckSupportList(const CString& path, const char* key, const CString& list);
    bool IsText(const CString& path, bool& readable);
    void Find(const CString& line) {
        PrintAtLevel(line, 1);
        ++findings_;
    }

    CString source_;
    CString listed_; // "Supported Systems" of the driver set file
    std::vector<CString> adsFolders_;
    int findings_ = 0;
};

int Lint::Run() {
    if (!ReadDriverSet())
        return kFailed;
    std::vector<CString> names;
    if (ListFolder(source_, true, names) == Lookup::Failed) {
        ReportUnlistedDirectory(source_);
        return kFailed;
    }
    std::sort(names.begin(), names.end(),
              [](const CString& a, const CString& b) { return std::strcmp(a, b) < 0; });
    for (const CString& name : names) {
        if (!CheckFolder(name))
            return kFailed;
    }
    for (const AdsCollision& collision : FindAdsCollisions(adsFolders_))
        Find(JoinPath(collision.later, collision.file) + ": replaces the differing copy of " +
             JoinPath(collision.earlier, collision.file) + " in the ADS mode");
    if (findings_ == 0) {
        PrintAtLevel("No findings.", 1);
        return 0;
    }
    PrintAtLevel(CString(findings_) + (findings_ == 1 ? " finding." : " findings."), 1);
    return kLintFound;
}

bool Lint::ReadDriverSet() {
    CString path;
    Lookup found = FindFileNoCase(source_, kDriverSetFileName, path);
    if (found == Lookup::Failed) {
        ReportUnlistedDirectory(source_);
        return false;
    }
    if (found == Lookup::Missing) {
        Find(path + ": no driver set file");
        return true;
    }
    IniFile driverSet(CurrentFileSystem(), path, true);
    if (driverSet.IsUnreadable()) {
        ReportUnreadableFile(path, driverSet.ReadFailureReason());
        return false;
    }
    listed_ = driverSet.GetValue("Main", kSupportedSystemsKey, "");
    for (const CString& item : SplitItems(listed_)) {
        if (item != item.Trim())
            Find(path + ": " + kSupportedSystemsKey + " item \"" + item +
                 "\" has blanks, and machine types compare exactly");
    }
    return true;
}

bool Lint::CheckFolder(const CString& name) {
    CString folder = JoinPath(source_, name);
    CString path;
    Lookup found = FindFileNoCase(folder, kDriverInfoFileName, path);
    if (found == Lookup::Failed) {
        ReportUnlistedDirectory(folder);
        return false;
    }
    if (found == Lookup::Missing) {
        Find(folder + ": no " + kDriverInfoFileName);
        return true;
    }
    bool readable = true;
    if (!IsText(path, readable))
        return readable;
    DriverInfoFile driver(path, "", "", 0, DriverFileKind::DriverInformation);
    if (driver.ReadFailed()) {
        ReportUnreadableFile(path, driver.ReadFailureReason());
        return false;
    }
    const DriverInfo& info = driver.Info();
    if (!info.supportedSystems.IsEmpty() && !info.unsupportedSystems.IsEmpty())
        Find(path + ": " + kSupportedSystemsKey + " and " + kUnsupportedSystemsKey +
             " are both set, so no machine type is supported");
    CheckFlags(path);
    CheckSupportList(path, kSupportedSystemsKey, info.supportedSystems);
    CheckSupportList(path, kUnsupportedSystemsKey, info.unsupportedSystems);
    if (info.requiredForAds)
        adsFolders_.push_back(folder);
    return true;
}

// A flag is set only by "True" or "Yes" exactly.
void Lint::CheckFlags(const CString& path) {
    IniFile file(CurrentFileSystem(), path, true);
    for (const char* key : kFlagKeys) {
        CString value = file.GetValue(kDriverInformationSection, key, "");
        CString loose = Loosened(value);
        if (value != "True" && value != "Yes" && (loose == "true" || loose == "yes"))
            Find(path + ": " + key + " = " + value + " reads as not set (only \"True\" and \"Yes\" set it)");
    }
}

void Lint::CheckSupportList(const CString& path, const char* key, const CString& list) {
    if (listed_.IsEmpty() || list.IsEmpty() || list.EqualsNoCase("All") || list.EqualsNoCase("None"))
        return;
    for (const CString& item : SplitItems(list)) {
        if (listed_.ContainsItem(item, kListSeparator))
            continue;
        CString near = NearestItem(item, listed_);
        CString start = path + ": " + key + " item \"" + item + "\" ";
        if (Loosened(item) == Loosened(near))
            Find(start + "differs from the listed \"" + near + "\" only in letter case or blanks");
        else
            Find(start + "is not listed in " + kDriverSetFileName + " (nearest: " + near + ")");
    }
}

// False after the finding when path holds NUL bytes or other binary content, or (readable false) when
// it could not be read.
bool Lint::IsText(const CString& path, bool& readable) {
    std::unique_ptr<File> file = CurrentFileSystem().OpenFile(path.Str(), "rb");
    std::string bytes(kTextProbe, '\0');
    bool readError = false;
    size_t count = file ? file->Read(bytes.data(), bytes.size(), readError) : 0;
    if (!file || readError) {
        ReportUnreadableFile(path, CurrentFileSystem().LastFailureReason());
        readable = false;
        return false;
    }
    bytes.resize(count);
    if (bytes.find('\0') != std::string::npos) {
        Find(path + ": not readable as text (NUL bytes)");
        return false;
    }
    auto binary = [](unsigned char c) { return c < 0x20 && !std::strchr("\t\n\r\f\v\x1a", c); };
    if (std::any_of(bytes.begin(), bytes.end(), binary)) {
        Find(path + ": not readable as text (binary content)");
        return false;
    }
    return true;
}

} // namespace

int LintDriverSet(const CopySettings& settings) {
    return Lint(settings).Run();
}

CString NearestItem(const CString& item, const CString& list) {
    CString nearest;
    int best = -1;
    for (const CString& candidate : SplitItems(list)) {
        int distance = EditDistance(Loosened(item), Loosened(candidate));
        if (best < 0 || distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}
