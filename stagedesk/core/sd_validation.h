// Recognises the medium in the source as the disc that an item description file expects.
//
// For disc n of media type mt ("cd" or "dvd") the rules sit under "//mt/media[@number=n]/validation":
// file entries "file[i]" with "name" (a pattern that must be present in the source folder "path"),
// optional "value[j]" texts (all must be found, or any one with a "text" child; whole-line matches are
// marked [@line='true'] for the any-value check and by a "line" child for the all-values check), or
// "item[j]"/"value[j]" pairs that check "item = value" lines of an INI-style file, with "gt" or "lt"
// under the value for at-least or at-most. Each entry is checked with its own data: an entry with
// items is an INI check, one with values only a text check. A media node with
// "validate_subsequent/file" (name, path, line) captures that line into "validate_value" of the item
// file; a later disc whose validation has "previous_media" must carry the same text at the same line
// of the same file.
#pragma once

#include <QString>
#include <functional>

class sd_xml;
class sd_prompt;

class sd_validation {
public:
    sd_validation(sd_xml& xml, sd_prompt& prompt);

    // Whether the source holds disc n of the item; a disc without rules is valid. A refused disc leaves
    // RefusalDetails().
    bool PerformValidation(const QString& itemFile, const QString& sourcePath, int disc,
                           const QString& mediaType);

    // A file matching pattern exists in folder (subfolders are not searched).
    bool ValidateFile(const QString& folder, const QString& pattern);
    // Some line of the file contains text (in a line longer than the text), or equals it with wholeLine.
    bool ValidateFile(const QString& folder, const QString& file, const QString& text, bool wholeLine);
    // The line numbered lineNumber (from 1) begins with text.
    bool ValidateFile(const QString& folder, const QString& file, const QString& text, int lineNumber);

    // The checks of one file entry (entry: its XPath, "//cd/media[@number=1]/validation/file[2]").
    bool ValidateAnyValue(const QString& itemFile, const QString& entry, const QString& folder,
                          const QString& file);
    bool ValidateAllValues(const QString& itemFile, const QString& entry, const QString& folder,
                           const QString& file);
    bool ValidateIniFile(const QString& itemFile, const QString& entry, const QString& folder,
                         const QString& file);

    // The tie between discs (mediaNode: "//cd/media[@number=1]").
    bool CaptureSubsequentValidation(const QString& itemFile, const QString& sourcePath,
                                     const QString& mediaNode);
    bool PerformSubsequentValidation(const QString& itemFile, const QString& sourcePath,
                                     const QString& mediaType);

    // Why the last PerformValidation() refused the disc, as lines "Rule: ...", "File: ...",
    // "Expected: ...", "Found: ..."; empty when it accepted the disc.
    const QString& RefusalDetails() const { return refusal_; }

private:
    // Keeps the details of a refusal; false.
    bool Refuse(const QString& rule, const QString& file, const QString& expected, const QString& found);
    // The text of line lineNumber (from 1) of the file; null when the file has fewer lines.
    QString LineAt(const QString& folder, const QString& file, int lineNumber);
    bool ValidateEntry(const QString& itemFile, const QString& entry, const QString& sourcePath);
    // Calls visit for each line of the file until it returns true; false after a message when the
    // file cannot be read.
    bool ScanLines(const QString& folder, const QString& file,
                   const std::function<bool(const QString&)>& visit);
    QString Text(const QString& itemFile, const QString& xpath);
    bool Has(const QString& itemFile, const QString& xpath);

    sd_xml& xml_;
    sd_prompt& prompt_;
    QString refusal_;
};
