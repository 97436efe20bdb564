// Text rules shared by the configurator's services: comparison, wildcards, status lines.
#pragma once

#include <QByteArray>
#include <QString>

namespace sd {

// Compares the way the kit's files expect (culture-aware, not ordinal): letters first ignoring case,
// then lower case before upper case. Negative, zero or positive. Versions compare as text:
// "1.5" > "1.10".
int CultureCompare(const QString& a, const QString& b);

// Matches a file name against a pattern with '*' (any run) and '?' (one character), ignoring case as
// the kit's media file systems do. "*.*" matches every name, with or without a dot.
bool WildcardMatch(const QString& name, const QString& pattern);

// The first line of a text file without the UTF-8 byte order mark that editors put before it, so that
// the line reads as its text whatever code page the rest of the file is in: "\xEF\xBB\xBFVersion = 2.4"
// => "Version = 2.4".
QByteArray WithoutByteOrderMark(const QByteArray& firstLine);

// "M/d/yyyy h:mm:ss AM - text": the form of one line in the copy page's status box.
QString StatusLine(const QString& text);

// Bytes copied of the total and the time left, for the copy page and the console's progress line:
// (1572864, 10485760, 75) => "1.5 MB of 10.0 MB, 1 min 15 s left"; a time of -1 is not known yet:
// "1.5 MB of 10.0 MB".
QString BytesProgressText(qint64 copied, qint64 total, qint64 secondsLeft);

// Builds an XPath string literal for any text, quotes included (concat() when it holds both kinds).
QString XPathLiteral(const QString& text);

} // namespace sd
