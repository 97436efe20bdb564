#include "drvstage/DriverInfoFile.h"

#include "drvstage/ItemList.h"
#include "foundation/Console.h"

#include <new>

namespace {

enum class ValueForm { Text, Flag, Number };

// One key of a driver information file: its name, how its value reads and writes, and its field.
struct KeyRow {
    const char* key;
    ValueForm form;
    CString DriverInfo::*text;
    bool DriverInfo::*flag;
    int DriverInfo::*number;
};

constexpr KeyRow Text(const char* key, CString DriverInfo::*field) {
    return {key, ValueForm::Text, field, nullptr, nullptr};
}
constexpr KeyRow Flag(const char* key, bool DriverInfo::*field) {
    return {key, ValueForm::Flag, nullptr, field, nullptr};
}
constexpr KeyRow Number(const char* key, int DriverInfo::*field) {
    return {key, ValueForm::Number, nullptr, nullptr, field};
}

// The keys of the "Driver Information" section, in the order in which they are written.
const KeyRow kDriverKeys[] = {
    Text("Description", &DriverInfo::description),
    Text("Installation Mode", &DriverInfo::installationMode),
    Text("Path", &DriverInfo::path),
    Text("Parameters", &DriverInfo::parameters),
    Flag("Automatically Reboots", &DriverInfo::automaticallyReboots),
    Flag("Reboot Required", &DriverInfo::rebootRequired),
    Number("Time Delay After", &DriverInfo::timeDelayAfter),
    Text("PCIVenDevId", &DriverInfo::pciVenDevId),
    Text("Order Before", &DriverInfo::orderBefore),
    Text("Order After", &DriverInfo::orderAfter),
    Flag("Required For ADS", &DriverInfo::requiredForAds),
    Text("Category", &DriverInfo::category),
    Text(kSupportedSystemsKey, &DriverInfo::supportedSystems),
    Text(kUnsupportedSystemsKey, &DriverInfo::unsupportedSystems),
    Text("Supported Locales", &DriverInfo::supportedLocales),
    Text("Unsupported Locales", &DriverInfo::unsupportedLocales),
};

constexpr const char* kTextmodeSection = "Main";
constexpr const char* kTextmodeDriversKey = "Drivers";

// Flags are set only by these exact texts; letter case counts.
bool ReadFlag(const CString& value) {
    return value == "True" || value == "Yes";
}

CString WrittenValue(const KeyRow& row, const DriverInfo& info) {
    switch (row.form) {
    case ValueForm::Flag:
        return info.*row.flag ? CString("True") : CString();
    case ValueForm::Number:
        return info.*row.number != 0 ? CString(info.*row.number) : CString();
    case ValueForm::Text:
        break;
    }
    return info.*row.text;
}

CString HeaderRule() {
    return ";" + CString('/', 57);
}

} // namespace

DriverInfoFile::DriverInfoFile(const CString& path, const char* toolName, const char* toolVersion,
                               int messageLevel, DriverFileKind kind)
    : path_(path), toolName_(toolName), toolVersion_(toolVersion), messageLevel_(messageLevel), kind_(kind),
      document_(new (std::nothrow) IniFile(CurrentFileSystem(), path, true)) {
    if (!document_)
        return;
    readFailed_ = document_->IsUnreadable();
    // What was loaded is read even when the existence check itself fails: the fields are written back.
    if (!readFailed_ && (!document_->Lines().empty() || document_->FileExists()))
        Read();
}

void DriverInfoFile::SetSupportedSystems(const CString& list) {
    info_.supportedSystems = list;
    modified_ = true;
}

void DriverInfoFile::SetUnsupportedSystems(const CString& list) {
    info_.unsupportedSystems = list;
    modified_ = true;
}

void DriverInfoFile::Read() {
    switch (kind_) {
    case DriverFileKind::DriverInformation:
        Say("Reading driver information file ");
        ReadDriverInformation();
        return;
    case DriverFileKind::Textmode:
        Say("Reading textmode driver information file ");
        info_.textmodeDrivers = document_->GetValue(kTextmodeSection, kTextmodeDriversKey, "");
        return;
    case DriverFileKind::DriverSetInformation:
        Say("Reading driver set information file ");
        info_.supportedSystems = document_->GetValue(kDriverInformationSection, kSupportedSystemsKey, "");
        info_.unsupportedSystems = document_->GetValue(kDriverInformationSection, kUnsupportedSystemsKey, "");
        return;
    }
}

void DriverInfoFile::ReadDriverInformation() {
    for (const KeyRow& row : kDriverKeys) {
        CString value = document_->GetValue(kDriverInformationSection, row.key, "");
        switch (row.form) {
        case ValueForm::Text:
            info_.*row.text = value;
            break;
        case ValueForm::Flag:
            info_.*row.flag = ReadFlag(value);
            break;
        case ValueForm::Number:
            info_.*row.number = value.ToInt();
            break;
        }
    }
}

bool DriverInfoFile::Write() {
    if (!document_ || readFailed_)
        return Finish(false);
    switch (kind_) {
    case DriverFileKind::DriverInformation:
        return Finish(WriteDriverInformation());
    case DriverFileKind::Textmode:
        return Finish(WriteTextmode());
    case DriverFileKind::DriverSetInformation:
        break;
    }
    return true;
}

void DriverInfoFile::Release() {
    if (!document_)
        return;
    if (modified_) {
        if (kind_ == DriverFileKind::DriverSetInformation)
            modified_ = false;
        else
            Write();
    }
    document_.reset();
}

bool DriverInfoFile::WriteDriverInformation() {
    Say("Writing driver information file ");
    AddHeaderWhenMissing();
    for (const KeyRow& row : kDriverKeys)
        document_->SetValue(kDriverInformationSection, row.key, WrittenValue(row, info_), false, false);
    return document_->Flush();
}

bool DriverInfoFile::WriteTextmode() {
    Say("Writing textmode driver information file ");
    AddHeaderWhenMissing();
    document_->SetValue(kTextmodeSection, kTextmodeDriversKey, info_.textmodeDrivers, false, false);
    return document_->Flush();
}

// Rewriting a file must not stack another header above the one it has.
void DriverInfoFile::AddHeaderWhenMissing() {
    if (HasHeader())
        return;
    document_->SetValue("", "", HeaderRule(), false, false);
    document_->SetValue("", "", ";//", false, false);
    document_->SetValue("", "", ";//  Driver Information File", false, false);
    if (!toolName_.IsEmpty() && !toolVersion_.IsEmpty()) {
        document_->SetValue("", "", ";//", true, false);
        CString generated = ";//  Generated by " + toolName_ + " Driver Scan Tool version " + toolVersion_;
        document_->SetValue("", "", generated, false, false);
    }
    document_->SetValue("", "", ";//", true, false);
    document_->SetValue("", "", ";//", true, false);
}

// The header is the rule line among the lines above the first section.
bool DriverInfoFile::HasHeader() const {
    CString rule = HeaderRule();
    for (const CString& line : document_->Lines()) {
        if (line.StartsWith("["))
            return false;
        if (line == rule)
            return true;
    }
    return false;
}

// A written file has nothing left to write on release.
bool DriverInfoFile::Finish(bool written) {
    writeFailed_ = !written;
    if (written)
        modified_ = false;
    return written;
}

void DriverInfoFile::Say(const char* what) const {
    if (messageLevel_ < 6)
        return;
    Console::Instance().Out((CString(what) + path_ + "\n").Text());
}

bool DriverInfoFile::SupportsMachineType(const CString& machineType) const {
    if (!info_.supportedSystems.IsEmpty() && !info_.unsupportedSystems.IsEmpty()) {
        if (messageLevel_ != 0) {
            Console& console = Console::Instance();
            console.Out((CString("\nError  ") + kSupportedSystemsKey + " and " + kUnsupportedSystemsKey +
                         " are both specified\n")
                            .Text());
            console.Out(("       in the driver information file " + path_ + "\n\n").Text());
        }
        return false;
    }
    return IsSupported(info_.supportedSystems, info_.unsupportedSystems, machineType);
}

bool DriverInfoFile::IsSupported(const CString& supported, const CString& unsupported,
                                 const CString& machineType) {
    if (supported.EqualsNoCase("All"))
        return true;
    if (supported.EqualsNoCase("None"))
        return false;
    if (!supported.IsEmpty())
        return supported.ContainsItem(machineType, kListSeparator);
    if (!unsupported.IsEmpty())
        return !unsupported.ContainsItem(machineType, kListSeparator);
    return true;
}
