// DriverInfoFile: reads and writes a driver information file ("DrvInfo.ini"), the textmode driver
// information file or a driver set information file, and decides which machine types a driver suits.
#pragma once

#include "foundation/CString.h"
#include "foundation/IniFile.h"

#include <memory>
#include <string>

// Kinds 1 and 2 belong to the file format's definition; no program here reads or writes them as such.
enum class DriverFileKind { DriverInformation = 0, Textmode = 1, DriverSetInformation = 2 };

inline constexpr const char* kDriverInformationSection = "Driver Information";
inline constexpr const char* kSupportedSystemsKey = "Supported Systems";
inline constexpr const char* kUnsupportedSystemsKey = "Unsupported Systems";

// The keys' values. Absent keys leave texts empty, flags clear and the delay 0.
struct DriverInfo {
    CString description;
    CString installationMode;
    CString path;
    CString parameters;
    bool automaticallyReboots = false;
    bool rebootRequired = false;
    int timeDelayAfter = 0;
    CString pciVenDevId;
    CString orderBefore;
    CString orderAfter;
    bool requiredForAds = false;
    CString category;
    CString supportedSystems;
    CString unsupportedSystems;
    CString supportedLocales;
    CString unsupportedLocales;
    CString textmodeDrivers; // "Drivers" of a textmode file
};

class DriverInfoFile {
public:
    // Reads path by kind when it exists. A file that exists but cannot be read is never written over
    // (ReadFailed). The tool name and version only feed the generated header; a message level of 6 or
    // more prints what is read and written.
    DriverInfoFile(const CString& path, const char* toolName, const char* toolVersion, int messageLevel,
                   DriverFileKind kind);
    // Reads text as a file holding it would be read. It has no path and is never saved: it tells what a
    // rewrite would give.
    DriverInfoFile(TextContents text, DriverFileKind kind);
    ~DriverInfoFile() { Release(); }
    DriverInfoFile(const DriverInfoFile&) = delete;
    DriverInfoFile& operator=(const DriverInfoFile&) = delete;

    const DriverInfo& Info() const { return info_; }
    const CString& Path() const { return path_; }
    bool IsOpened() const { return document_ != nullptr; }
    bool IsModified() const { return modified_; }
    bool WriteFailed() const { return writeFailed_; }
    bool ReadFailed() const { return readFailed_; }
    // The system's reasons of a failed read or write, for the line after the failure line.
    std::string ReadFailureReason() const {
        return document_ ? document_->ReadFailureReason() : std::string();
    }
    std::string WriteFailureReason() const {
        return document_ ? document_->SaveFailureReason() : std::string();
    }

    void SetSupportedSystems(const CString& list);
    void SetUnsupportedSystems(const CString& list);

    // Saves the fields by kind; a driver set information file is never written.
    bool Write();
    // What Write would leave in a driver information file that held original (read as this one): the
    // fields set into its lines, or original itself when they change none. The changes are then spent.
    std::string WrittenText(const std::string& original);
    // Writes pending changes, then lets the document go.
    void Release();

    // False for every machine type when both support lists are given (the file is in error).
    bool SupportsMachineType(const CString& machineType) const;
    // The support rule: "All"/"None" (any case), else membership of supported, else absence from
    // unsupported; with both lists empty every machine type is supported.
    static bool IsSupported(const CString& supported, const CString& unsupported, const CString& machineType);

private:
    void Read();
    void ReadDriverInformation();
    bool WriteDriverInformation();
    void SetDriverInformationLines();
    bool WriteTextmode();
    void AddHeaderWhenMissing();
    bool HasHeader() const;
    bool Finish(bool written);
    void Say(const char* what) const;

    CString path_;
    CString toolName_;
    CString toolVersion_;
    int messageLevel_ = 0;
    DriverFileKind kind_ = DriverFileKind::DriverInformation;
    bool modified_ = false;
    bool writeFailed_ = false;
    bool readFailed_ = false;
    std::unique_ptr<IniFile> document_;
    DriverInfo info_;
};
