#include "stagedesk/core/sd_paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace sd {

namespace {

bool IsSeparator(QChar c) {
    return c == '/' || c == '\\';
}

// Length of the root at the start of a Qt-form path: "/" => 1, "C:/" => 3, "C:" => 2, "//srv/share/" =>
// whole.
qsizetype RootLength(const QString& path) {
    if (path.size() >= 2 && path[1] == ':' && path[0].isLetter())
        return (path.size() >= 3 && path[2] == '/') ? 3 : 2;
    if (path.startsWith('/'))
        return 1;
    return 0;
}

} // namespace

QString KitPath(const QString& text) {
    QString path = text;
    path.replace('\\', '/');
    return path;
}

QString TrimBackslashes(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == '\\')
        ++begin;
    while (end > begin && text[end - 1] == '\\')
        --end;
    return text.mid(begin, end - begin);
}

QString TrimSeparators(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsSeparator(text[begin]))
        ++begin;
    while (end > begin && IsSeparator(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimTrailingSeparators(const QString& text) {
    QString path = KitPath(text);
    qsizetype keep = RootLength(path);
    qsizetype end = path.size();
    while (end > keep && path[end - 1] == '/')
        --end;
    return path.left(end);
}

QString JoinPath(const QString& head, const QString& tail) {
    QString left = TrimTrailingSeparators(head);
    QString right = KitPath(TrimSeparators(tail));
    if (right.isEmpty())
        return left;
    if (left.isEmpty())
        return right;
    return left.endsWith('/') ? left + right : left + "/" + right;
}

QString WithTrailingSeparator(const QString& path) {
    QString result = KitPath(path);
    return (result.isEmpty() || result.endsWith('/')) ? result : result + "/";
}

QString ShownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString ResolveCase(const QString& path) {
    QString wanted = KitPath(path);
    if (wanted.isEmpty() || QFileInfo::exists(wanted))
        return wanted;
    qsizetype rootLength = RootLength(wanted);
    QString resolved = wanted.left(rootLength);
    const QStringList parts = wanted.mid(rootLength).split('/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString exact = resolved.isEmpty() ? parts[i] : JoinPath(resolved, parts[i]);
        if (QFileInfo::exists(exact) || parts[i] == "." || parts[i] == "..") {
            resolved = exact;
            continue;
        }
        QDir folder(resolved.isEmpty() ? "." : resolved);
        const QStringList entries =
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
            return QString::compare(entry, parts[i], Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end())
            return wanted;
        resolved = resolved.isEmpty() ? *match : JoinPath(resolved, *match);
    }
    if (wanted.endsWith('/'))
        resolved = WithTrailingSeparator(resolved);
    return resolved;
}

} // namespace sd
