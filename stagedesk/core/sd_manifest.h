// The manifests that a copy leaves beside its destination folder.
//
// "<dest>.sha256" lists every file of a completed copy in the form of sha256sum:
//   <64 hex digits>  <path relative to the folder, '/' between names>
// so that "cd <dest> && sha256sum -c ../<dest>.sha256" checks it. A path holding a backslash or a line
// break is written as sha256sum writes it: the line starts with '\', and those characters are "\\" and
// "\n".
//
// "<dest>.sha256.partial" is kept while the copy runs, for a later run to resume it:
//   stagedesk partial copy
//   item <item description file>
//   disc <n>                                    (every file of disc n is copied)
//   file <disc> <bytes> <ms since 1970> <hex> <path, escaped as above>
#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

struct sd_ManifestEntry {
    QString path; // relative to the destination folder
    QByteArray sha256;
    qint64 size = 0;
    qint64 modifiedMs = 0; // the copy's modification time
    int disc = 0;          // 0 for files of the post-processing steps
};

struct sd_PartialCopy {
    QString itemFile;
    QSet<int> completeDiscs;
    QList<sd_ManifestEntry> files;
};

namespace sd {

// "/kit/os/W2K3" => "/kit/os/W2K3.sha256" and "/kit/os/W2K3.sha256.partial".
QString ManifestPath(const QString& destinationFolder);
QString PartialManifestPath(const QString& destinationFolder);

// The sha256sum lines of the entries, in their order.
QByteArray ManifestText(const QList<sd_ManifestEntry>& entries);
// Reads sha256sum lines (path and digest of each entry); false with the line's number for a line that
// is not of that form.
bool ParseManifest(const QByteArray& text, QList<sd_ManifestEntry>& entries, int& badLine);

QByteArray PartialText(const sd_PartialCopy& copy);
// False when the text is no partial manifest (a cut last line is passed over: it was being written).
bool ParsePartial(const QByteArray& text, sd_PartialCopy& copy);

} // namespace sd
