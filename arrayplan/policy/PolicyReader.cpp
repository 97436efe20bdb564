#include "arrayplan/policy/PolicyReader.h"

#include "arrayplan/model/FileCheck.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyScan.h"
#include "arrayplan/policy/PolicyValidation.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

PolicyReader::PolicyReader(RunSettings& settings, const CString& path, bool optional)
    : settings_(settings), path_(path), optional_(optional) {}

PolicyReader::PolicyReader(RunSettings& settings, const CString& path, TextContents text, bool optional)
    : settings_(settings), path_(path), text_(std::string(text.bytes)), optional_(optional) {}

bool PolicyReader::read() {
    if (!scan())
        return false;
    if (policyNames_.empty())
        return true;
    PolicyValidator validator(*this);
    return validator.validateAll(policyNames_, policyList_);
}

// Text mode: a CR LF pair counts as one newline, as a text-mode read on Windows gives it.
bool PolicyReader::openFile(TextFile& file) {
    valueIndex_.clear();
    fileLoaded_ = false;
    if (!text_)
        return file.Open(settings_.fileSystem(), path_, "r");
    file.OpenText(TextContents{*text_});
    return true;
}

LineRead PolicyReader::nextLine(TextFile& file, std::string& text) {
    CString line;
    LineRead read = file.ReadLine(line, PolicyScan::kMaxLineLength);
    text = line.Str();
    // A CString ends at a NUL byte: a line start shorter than asked for stopped at one, which the scan
    // must see (an endless run of NUL bytes is an invalid character, not an empty line).
    if (read == LineRead::TooLong && text.size() < static_cast<size_t>(PolicyScan::kMaxLineLength))
        text += '\0';
    if (read == LineRead::Line || read == LineRead::TooLong)
        valueIndex_.addLine(text);
    return read;
}

bool PolicyReader::indexWholeFile() {
    TextFile file;
    if (!openFile(file))
        return false;
    std::string text;
    LineRead read;
    while ((read = nextLine(file, text)) == LineRead::Line || read == LineRead::TooLong)
        continue;
    fileLoaded_ = read == LineRead::End;
    return fileLoaded_;
}

bool PolicyReader::scan() {
    policyNames_.clear();
    TextFile file;
    if (!openFile(file)) {
        std::string reason = settings_.fileSystem().LastFailureReason();
        // An optional file may be missing, and then reads as an empty one (the output policy file is
        // created only when policies are written to it); one that is there but cannot be read is an
        // error, or its policies would be taken for none (and their names given out again).
        if (optional_ && LookUpPath(settings_.fileSystem(), path_) == Lookup::Missing) {
            settings_.printLeveled("\tScanning policies ...\n", 5);
            return true;
        }
        settings_.reportError(("Could not open policies file:  " + path_ + "\n").Text());
        settings_.printPlain(failureLine(path_, reason).c_str());
        return false;
    }
    PolicyScan policyScan([&](std::string& text) { return nextLine(file, text); }, settings_, path_,
                          optional_);
    if (!policyScan.run(policyNames_))
        return false;
    fileLoaded_ = true;
    return true;
}

CString PolicyReader::valueOf(const char* policyName, const char* keyword) {
    if (!fileLoaded_ && !indexWholeFile()) {
        settings_.console().OutFormat("File not found:  %s \n", path_.Text());
        return CString(kFileNotFoundValue);
    }
    const std::string* value = valueIndex_.find(policyName, keyword);
    return value == nullptr ? CString(kAbsentValue) : CString(*value);
}

void PolicyReader::dumpAllPolicies() {
    policyList_.dumpAll(settings_.console());
}
