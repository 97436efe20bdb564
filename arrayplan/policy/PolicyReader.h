// PolicyReader: reads a policy file into a PolicyList. The scan checks the file's layout, names and
// keywords; the validation then builds one Policy per declared name from the values of its keywords.
// The file is read once, line by line, with the scan; every value lookup is served from that reading.
#pragma once

#include "arrayplan/policy/PolicyList.h"
#include "arrayplan/policy/PolicyValueIndex.h"
#include "foundation/CString.h"
#include "foundation/TextFile.h"

#include <optional>
#include <string>
#include <vector>

class RunSettings;

// What the value lookup gives for a keyword that the policy does not hold.
inline constexpr const char* kAbsentValue = "^~";
// What the value lookup gives when the policy file does not exist.
inline constexpr const char* kFileNotFoundValue = "File not found";

class PolicyReader {
public:
    // Reads the policy file at path with the message operations of settings, which must outlive the
    // reader. An optional file may be missing or hold no policy (the lenient reading of the policy
    // writer).
    PolicyReader(RunSettings& settings, const CString& path, bool optional);
    // Reads text (copied) as the contents of the policy file that path names in messages.
    PolicyReader(RunSettings& settings, const CString& path, TextContents text, bool optional);
    PolicyReader(const PolicyReader&) = delete;
    PolicyReader& operator=(const PolicyReader&) = delete;

    // Scan, then validate every policy found. The first error is reported and gives false.
    bool read();
    // The policies read (owned by the reader; keep the reader alive while using them).
    PolicyList& policyList() { return policyList_; }
    const PolicyList& policyList() const { return policyList_; }
    // The names declared in the file, in file order, as the scan found them.
    const std::vector<CString>& policyNames() const { return policyNames_; }
    int policyCount() const { return static_cast<int>(policyNames_.size()); }

    // The trimmed value of keyword in the first section named policyName (names and keywords compared
    // ignoring case); kAbsentValue when there is none; kFileNotFoundValue (after a console line) when
    // the file does not exist.
    CString valueOf(const char* policyName, const char* keyword);

    // "/debug" dump of every policy read.
    void dumpAllPolicies();

    RunSettings& settings() { return settings_; }

private:
    bool openFile(TextFile& file);
    // The next line of file, also handed to the value index.
    LineRead nextLine(TextFile& file, std::string& text);
    // The value index of a file that was not scanned.
    bool indexWholeFile();
    bool scan();

    RunSettings& settings_;
    CString path_;
    std::optional<std::string> text_; // the file's contents when given as text
    bool optional_;
    PolicyList policyList_;
    std::vector<CString> policyNames_;
    bool fileLoaded_ = false; // the value index holds the whole file
    PolicyValueIndex valueIndex_;
};
