#include "arrayplan/policy/PolicyReader.h"

#include "arrayplan/frontend/RunSettings.h"
#include "arrayplan/policy/PolicyScan.h"
#include "arrayplan/policy/PolicyValidation.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

namespace {

// A CR LF pair counts as one newline, as a text-mode read on Windows gives it.
std::string withPlainNewlines(const std::string& raw) {
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        text += raw[i];
    }
    return text;
}

} // namespace

PolicyReader::PolicyReader(RunSettings& settings) : settings_(settings) {}

bool PolicyReader::read() {
    if (!scan())
        return false;
    if (policyNames_.empty())
        return true;
    PolicyValidator validator(*this);
    return validator.validateAll(policyNames_, policyList_);
}

// Reads the whole file once; the scan and every value lookup work on this one reading.
bool PolicyReader::loadFile() {
    std::unique_ptr<File> file = CurrentFileSystem().OpenFile(settings_.policyFilePath.Str(), "rb");
    if (file == nullptr)
        return false;
    std::string raw;
    char buffer[65536];
    bool readError = false;
    while (size_t count = file->Read(buffer, sizeof buffer, readError))
        raw.append(buffer, count);
    file->Close();
    if (readError)
        return false;
    fileText_ = withPlainNewlines(raw);
    valueIndex_.build(fileText_);
    fileLoaded_ = true;
    return true;
}

bool PolicyReader::scan() {
    policyNames_.clear();
    if (!loadFile()) {
        // An optional file may be missing; one that is there but cannot be read is an error, or its
        // policies would be taken for none (and their names given out again).
        if (settings_.policyFileOptional && !PathExists(settings_.policyFilePath))
            return true;
        settings_.reportError(("Could not open policies file:  " + settings_.policyFilePath + "\n").Text());
        return false;
    }
    PolicyScan policyScan(fileText_, settings_);
    return policyScan.run(policyNames_);
}

CString PolicyReader::valueOf(const char* policyName, const char* keyword) {
    if (!fileLoaded_ && !loadFile()) {
        Console::Instance().OutFormat("File not found:  %s \n", settings_.policyFilePath.Text());
        return CString(kFileNotFoundValue);
    }
    const std::string* value = valueIndex_.find(policyName, keyword);
    return value == nullptr ? CString(kAbsentValue) : CString(*value);
}

void PolicyReader::dumpAllPolicies() {
    policyList_.dumpAll();
}
