#include "stagedesk/core/sd_validation.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_text.h"
#include "stagedesk/core/sd_xml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Longer lines (a disc image read by mistake) are taken in pieces, so memory stays bounded.
constexpr qint64 kLongestLine = 64 * 1024;

QString Indexed(const QString& entry, const char* child, int index) {
    return entry + "/" + child + "[" + QString::number(index) + "]";
}

QStringList FilesMatching(const QString& folder, const QString& pattern) {
    QStringList matching;
    const QStringList names =
        QDir(sd::ResolveCase(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (sd::WildcardMatch(name, pattern))
            matching << name;
    }
    return matching;
}

// The file an entry names: a wildcard name reads the first file that matches it.
QString FilePathIn(const QString& folder, const QString& file) {
    if (file.contains('*') || file.contains('?')) {
        const QStringList matching = FilesMatching(folder, file);
        if (!matching.isEmpty())
            return sd::JoinPath(sd::ResolveCase(folder), matching.first());
    }
    return sd::ResolveCase(sd::JoinPath(folder, file));
}

QString Quoted(const QString& text) {
    return "\"" + text + "\"";
}

QString DecodeLine(const QByteArray& bytes) {
    QString line = QString::fromUtf8(bytes);
    if (line.contains(QChar::ReplacementCharacter))
        line = QString::fromLatin1(bytes); // older media carry 8-bit code pages
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

int LineNumber(const QString& text) {
    bool number = false;
    const int line = text.trimmed().toInt(&number);
    return number && line > 0 ? line : 1;
}

} // namespace

sd_validation::sd_validation(sd_xml& xml, sd_prompt& prompt) : xml_(xml), prompt_(prompt) {}

QString sd_validation::Text(const QString& itemFile, const QString& xpath) {
    return xml_.GetXPathXML(xpath, itemFile);
}

bool sd_validation::Has(const QString& itemFile, const QString& xpath) {
    return xml_.CheckNodeExists(xpath, itemFile);
}

bool sd_validation::PerformValidation(const QString& itemFile, const QString& sourcePath, int disc,
                                      const QString& mediaType) {
    const QString mediaNode = "//" + mediaType + "/media[@number=" + QString::number(disc) + "]";
    const QString base = mediaNode + "/validation";
    refusal_.clear();
    if (!Has(itemFile, base))
        return true;
    for (int i = 1; Has(itemFile, Indexed(base, "file", i)); ++i) {
        if (!ValidateEntry(itemFile, Indexed(base, "file", i), sourcePath))
            return false;
    }
    if (Has(itemFile, mediaNode + "/validate_subsequent") &&
        !CaptureSubsequentValidation(itemFile, sourcePath, mediaNode))
        return false;
    if (Has(itemFile, base + "/previous_media") &&
        !PerformSubsequentValidation(itemFile, sourcePath, mediaType))
        return false;
    return true;
}

bool sd_validation::Refuse(const QString& rule, const QString& file, const QString& expected,
                           const QString& found) {
    refusal_ = "Rule: " + rule + "\nFile: " + file + "\nExpected: " + expected + "\nFound: " + found;
    return false;
}

QString sd_validation::LineAt(const QString& folder, const QString& file, int lineNumber) {
    QString found;
    int number = 0;
    ScanLines(folder, file, [&](const QString& line) {
        if (++number < lineNumber)
            return false;
        found = line;
        return true;
    });
    return found;
}

bool sd_validation::ValidateEntry(const QString& itemFile, const QString& entry, const QString& sourcePath) {
    const QString name = Text(itemFile, entry + "/name");
    const QString folder = sd::JoinPath(sourcePath, Text(itemFile, entry + "/path"));
    if (!ValidateFile(folder, name))
        return Refuse(entry + ": a file that must be present", sd::ShownPath(sd::JoinPath(folder, name)),
                      "a file matching " + Quoted(name), "no such file in " + sd::ShownPath(folder));
    if (Has(itemFile, entry + "/item"))
        return ValidateIniFile(itemFile, entry, folder, name);
    if (!Has(itemFile, entry + "/value"))
        return true;
    if (Has(itemFile, entry + "/text"))
        return ValidateAnyValue(itemFile, entry, folder, name);
    return ValidateAllValues(itemFile, entry, folder, name);
}

bool sd_validation::ValidateFile(const QString& folder, const QString& pattern) {
    return !pattern.isEmpty() && !FilesMatching(folder, pattern).isEmpty();
}

bool sd_validation::ScanLines(const QString& folder, const QString& file,
                              const std::function<bool(const QString&)>& visit) {
    QFile input(FilePathIn(folder, file));
    // Only regular files: a device named by a rule would never end.
    if (!QFileInfo(input.fileName()).isFile() || !input.open(QIODevice::ReadOnly)) {
        prompt_.Show("Could not read the file " + sd::ShownPath(input.fileName()) + ": " +
                         input.errorString(),
                     "Exception Occurred", sd_prompt::Icon::Error);
        return false;
    }
    for (bool first = true; !input.atEnd(); first = false) {
        const QByteArray bytes = input.readLine(kLongestLine);
        if (visit(DecodeLine(first ? sd::WithoutByteOrderMark(bytes) : bytes)))
            break;
    }
    return true;
}

bool sd_validation::ValidateFile(const QString& folder, const QString& file, const QString& text,
                                 bool wholeLine) {
    bool found = false;
    ScanLines(folder, file, [&](const QString& line) {
        // Without whole line, only a line longer than the text can hold it.
        found = wholeLine ? line == text : (line.size() > text.size() && line.contains(text));
        return found;
    });
    return found;
}

bool sd_validation::ValidateFile(const QString& folder, const QString& file, const QString& text,
                                 int lineNumber) {
    bool found = false;
    int number = 0;
    ScanLines(folder, file, [&](const QString& line) {
        if (++number < lineNumber)
            return false;
        found = line.startsWith(text);
        return true;
    });
    return found;
}

bool sd_validation::ValidateAnyValue(const QString& itemFile, const QString& entry, const QString& folder,
                                     const QString& file) {
    QStringList texts;
    for (int j = 1; Has(itemFile, Indexed(entry, "value", j)); ++j) {
        const QString value = Indexed(entry, "value", j);
        if (ValidateFile(folder, file, Text(itemFile, value), Has(itemFile, value + "[@line='true']")))
            return true;
        texts << Quoted(Text(itemFile, value));
    }
    return Refuse(entry + ": one of the texts must appear in the file",
                  sd::ShownPath(FilePathIn(folder, file)), "a line with one of " + texts.join(", "),
                  "no line with any of them");
}

bool sd_validation::ValidateAllValues(const QString& itemFile, const QString& entry, const QString& folder,
                                      const QString& file) {
    for (int j = 1; Has(itemFile, Indexed(entry, "value", j)); ++j) {
        const QString value = Indexed(entry, "value", j);
        const bool wholeLine = Has(itemFile, value + "/line");
        if (!ValidateFile(folder, file, Text(itemFile, value), wholeLine))
            return Refuse(Indexed(entry, "value", j) + ": every text must appear in the file",
                          sd::ShownPath(FilePathIn(folder, file)),
                          (wholeLine ? "a line equal to " : "a line containing ") +
                              Quoted(Text(itemFile, value)),
                          "no such line");
    }
    return true;
}

bool sd_validation::ValidateIniFile(const QString& itemFile, const QString& entry, const QString& folder,
                                    const QString& file) {
    for (int j = 1; Has(itemFile, Indexed(entry, "item", j)); ++j) {
        const QString prefix = Text(itemFile, Indexed(entry, "item", j)) + " = ";
        const QString value = Indexed(entry, "value", j);
        const QString expected = Text(itemFile, value);
        const bool atLeast = Has(itemFile, value + "/gt");
        const bool atMost = Has(itemFile, value + "/lt");
        bool passed = true; // an item that no line names is passed over
        QString found;
        const bool read = ScanLines(folder, file, [&](const QString& line) {
            if (!line.startsWith(prefix))
                return false;
            found = line.mid(prefix.size()).remove('=').trimmed();
            const int order = sd::CultureCompare(found, expected);
            passed = atLeast ? order >= 0 : atMost ? order <= 0 : order == 0;
            return true;
        });
        const QString shownFile = sd::ShownPath(FilePathIn(folder, file));
        const QString item = Text(itemFile, Indexed(entry, "item", j));
        if (!read)
            return Refuse(Indexed(entry, "item", j) + ": a value of the file", shownFile, item,
                          "the file could not be read");
        if (!passed)
            return Refuse(Indexed(entry, "item", j) + ": a value of the file", shownFile,
                          item +
                              (atLeast  ? " >= "
                               : atMost ? " <= "
                                        : " = ") +
                              expected,
                          item + " = " + found);
    }
    return true;
}

bool sd_validation::CaptureSubsequentValidation(const QString& itemFile, const QString& sourcePath,
                                                const QString& mediaNode) {
    const QString entry = mediaNode + "/validate_subsequent/file";
    const QString name = Text(itemFile, entry + "/name");
    const QString folder = sd::JoinPath(sourcePath, Text(itemFile, entry + "/path"));
    const int lineNumber = LineNumber(Text(itemFile, entry + "/line"));
    if (!ValidateFile(folder, name))
        return Refuse(entry + ": the file that ties the later discs to this one",
                      sd::ShownPath(sd::JoinPath(folder, name)), "a file matching " + Quoted(name),
                      "no such file in " + sd::ShownPath(folder));
    QString captured;
    int number = 0;
    if (!ScanLines(folder, name,
                   [&](const QString& line) {
                       if (++number < lineNumber)
                           return false;
                       captured = line;
                       return true;
                   }) ||
        number < lineNumber)
        return Refuse(entry + ": the file that ties the later discs to this one",
                      sd::ShownPath(FilePathIn(folder, name)), "a line " + QString::number(lineNumber),
                      "the file has " + QString::number(number) + " lines");
    if (!xml_.WriteToXML(itemFile, "validate_value", captured)) {
        prompt_.Show(xml_.LastError(), "Exception Occurred", sd_prompt::Icon::Error);
        return false;
    }
    return true;
}

bool sd_validation::PerformSubsequentValidation(const QString& itemFile, const QString& sourcePath,
                                                const QString& mediaType) {
    const QString entry = "(//" + mediaType + "/media/validate_subsequent/file)[1]";
    const QString captured = Text(itemFile, "//validate_value");
    const QString rule = "previous_media: the same line as on the first disc";
    if (captured.isEmpty()) // the first disc was never recognised
        return Refuse(rule, "validate_value of " + itemFile, "the line read from the first disc",
                      "none kept");
    const QString name = Text(itemFile, entry + "/name");
    const QString folder = sd::JoinPath(sourcePath, Text(itemFile, entry + "/path"));
    if (!ValidateFile(folder, name))
        return Refuse(rule, sd::ShownPath(sd::JoinPath(folder, name)), "a file matching " + Quoted(name),
                      "no such file in " + sd::ShownPath(folder));
    const int lineNumber = LineNumber(Text(itemFile, entry + "/line"));
    if (ValidateFile(folder, name, captured, lineNumber))
        return true;
    const QString found = LineAt(folder, name, lineNumber);
    return Refuse(rule, sd::ShownPath(FilePathIn(folder, name)),
                  "line " + QString::number(lineNumber) + " beginning with " + Quoted(captured),
                  found.isNull() ? "no line " + QString::number(lineNumber) : Quoted(found));
}
