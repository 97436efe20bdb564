#include "stagedesk/core/sd_manifest.h"

#include "stagedesk/core/sd_paths.h"

#include <QList>

namespace {

constexpr const char* kPartialHeader = "stagedesk partial copy";

bool NeedsEscape(const QString& path) {
    return path.contains('\\') || path.contains('\n');
}

QByteArray Escaped(const QString& path) {
    QByteArray bytes = path.toUtf8();
    bytes.replace("\\", "\\\\");
    bytes.replace("\n", "\\n");
    return bytes;
}

// The reverse of Escaped(); false for a backslash that starts no known pair.
bool Unescaped(const QByteArray& bytes, QString& path) {
    QByteArray plain;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\\') {
            plain += bytes[i];
            continue;
        }
        if (++i >= bytes.size() || (bytes[i] != '\\' && bytes[i] != 'n'))
            return false;
        plain += bytes[i] == 'n' ? '\n' : '\\';
    }
    path = QString::fromUtf8(plain);
    return true;
}

bool IsHexDigest(const QByteArray& text) {
    if (text.size() != 64)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

// One "<hex>  <path>" line, with sha256sum's leading '\' for an escaped path.
bool ParseManifestLine(QByteArray line, sd_ManifestEntry& entry) {
    const bool escaped = line.startsWith('\\');
    if (escaped)
        line.remove(0, 1);
    // sha256sum writes two blanks, or a blank and '*' for binary mode.
    if (line.size() < 67 || line[64] != ' ' || (line[65] != ' ' && line[65] != '*'))
        return false;
    entry.sha256 = line.left(64).toLower();
    const QByteArray path = line.mid(66);
    if (!IsHexDigest(entry.sha256) || path.isEmpty())
        return false;
    if (!escaped) {
        entry.path = QString::fromUtf8(path);
        return true;
    }
    return Unescaped(path, entry.path);
}

bool ParseFileLine(const QByteArray& line, sd_ManifestEntry& entry) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() < 6 || fields[0] != "file")
        return false;
    bool disc = false, size = false, time = false;
    entry.disc = fields[1].toInt(&disc);
    entry.size = fields[2].toLongLong(&size);
    entry.modifiedMs = fields[3].toLongLong(&time);
    entry.sha256 = fields[4];
    const qsizetype pathStart =
        fields[0].size() + fields[1].size() + fields[2].size() + fields[3].size() + fields[4].size() + 5;
    return disc && size && time && IsHexDigest(entry.sha256) && Unescaped(line.mid(pathStart), entry.path) &&
           !entry.path.isEmpty();
}

} // namespace

namespace sd {

QString ManifestPath(const QString& destinationFolder) {
    return TrimTrailingSeparators(destinationFolder) + ".sha256";
}

QString PartialManifestPath(const QString& destinationFolder) {
    return ManifestPath(destinationFolder) + ".partial";
}

QByteArray ManifestText(const QList<sd_ManifestEntry>& entries) {
    QByteArray text;
    for (const sd_ManifestEntry& entry : entries) {
        const bool escape = NeedsEscape(entry.path);
        text += (escape ? "\\" : "") + entry.sha256 + "  " +
                (escape ? Escaped(entry.path) : entry.path.toUtf8()) + "\n";
    }
    return text;
}

bool ParseManifest(const QByteArray& text, QList<sd_ManifestEntry>& entries, int& badLine) {
    entries.clear();
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        sd_ManifestEntry entry;
        if (!ParseManifestLine(line, entry)) {
            badLine = i + 1;
            return false;
        }
        entries << entry;
    }
    return true;
}

QByteArray PartialText(const sd_PartialCopy& copy) {
    QByteArray text = QByteArray(kPartialHeader) + "\nitem " + Escaped(copy.itemFile) + "\n";
    QList<int> discs = copy.completeDiscs.values();
    std::sort(discs.begin(), discs.end());
    for (const int disc : discs)
        text += "disc " + QByteArray::number(disc) + "\n";
    for (const sd_ManifestEntry& entry : copy.files) {
        text += "file " + QByteArray::number(entry.disc) + " " + QByteArray::number(entry.size) + " " +
                QByteArray::number(entry.modifiedMs) + " " + entry.sha256 + " " + Escaped(entry.path) + "\n";
    }
    return text;
}

bool ParsePartial(const QByteArray& text, sd_PartialCopy& copy) {
    copy = sd_PartialCopy();
    QList<QByteArray> lines = text.split('\n');
    // Only lines that ended were written whole.
    lines.removeLast();
    if (lines.size() < 2 || lines[0] != kPartialHeader || !lines[1].startsWith("item ") ||
        !Unescaped(lines[1].mid(5), copy.itemFile))
        return false;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        sd_ManifestEntry entry;
        bool number = false;
        if (line.startsWith("disc ")) {
            const int disc = line.mid(5).toInt(&number);
            if (!number)
                return false;
            copy.completeDiscs.insert(disc);
        } else if (ParseFileLine(line, entry)) {
            copy.files << entry;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace sd
