#include "stagedesk/core/sd_text.h"

#include <QDateTime>
#include <QLocale>

namespace sd {

int CultureCompare(const QString& a, const QString& b) {
    int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded;
    // Same letters: the first difference in case decides, lower case first.
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        return a[i].isLower() ? -1 : 1;
    }
    return static_cast<int>(a.size() - b.size());
}

namespace {

bool SameLetter(QChar a, QChar b) {
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

} // namespace

bool WildcardMatch(const QString& name, const QString& pattern) {
    if (pattern == "*.*" || pattern == "*")
        return true;
    // Greedy match with one remembered star: linear for ordinary patterns, never exponential.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || (pattern[p] != '*' && SameLetter(pattern[p], name[n])))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

QByteArray WithoutByteOrderMark(const QByteArray& firstLine) {
    return firstLine.startsWith("\xEF\xBB\xBF") ? firstLine.mid(3) : firstLine;
}

QString StatusLine(const QString& text) {
    QString stamp = QLocale::c().toString(QDateTime::currentDateTime(), "M/d/yyyy h:mm:ss AP");
    return stamp + " - " + text;
}

namespace {

QString ByteAmount(qint64 bytes) {
    const char* const units[] = {"bytes", "KB", "MB", "GB", "TB"};
    if (bytes < 1024)
        return QString::number(bytes) + " bytes";
    double amount = double(bytes);
    int unit = 0;
    while (amount >= 1024 && unit < 4) {
        amount /= 1024;
        ++unit;
    }
    return QString::number(amount, 'f', 1) + " " + units[unit];
}

QString Duration(qint64 seconds) {
    if (seconds < 60)
        return QString::number(seconds) + " s";
    if (seconds < 3600)
        return QString::number(seconds / 60) + " min " + QString::number(seconds % 60) + " s";
    return QString::number(seconds / 3600) + " h " + QString::number(seconds % 3600 / 60) + " min";
}

} // namespace

QString BytesProgressText(qint64 copied, qint64 total, qint64 secondsLeft) {
    const QString amounts = ByteAmount(copied) + " of " + ByteAmount(total);
    return secondsLeft < 0 ? amounts : amounts + ", " + Duration(secondsLeft) + " left";
}

QString XPathLiteral(const QString& text) {
    if (!text.contains('\''))
        return "'" + text + "'";
    if (!text.contains('"'))
        return "\"" + text + "\"";
    QStringList parts;
    for (const QString& piece : text.split('\''))
        parts << "'" + piece + "'";
    return "concat(" + parts.join(", \"'\", ") + ")";
}

} // namespace sd
