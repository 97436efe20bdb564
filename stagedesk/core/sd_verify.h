// Checks copied kit items against the manifests their copies left (sd_manifest.h): every file is
// hashed again, on every processor at once, and compared with its line of the manifest.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class sd_xml;

struct sd_ItemCheck {
    QString folder;                      // the item's destination folder
    int files = 0;                       // files the manifest lists
    qint64 bytes = 0;                    // their bytes as found
    QStringList changed, missing, added; // paths relative to the folder, sorted
    QString error;                       // why the manifest could not be read
    bool Matches() const {
        return error.isEmpty() && changed.isEmpty() && missing.isEmpty() && added.isEmpty();
    }
};

namespace sd {

// The folders directly inside taskFolder that have a manifest beside them, in name order.
QStringList FoldersWithManifests(const QString& taskFolder);

// The folders with manifests of every task that the configuration names a folder for, task by task.
QStringList KitFoldersWithManifests(sd_xml& xml, const QString& baseDirectory);

// Hashes the files of the folder's manifest again and looks for files it does not list (the copy's own
// temporary files are no part of the kit, and are not counted). progress is called on the calling
// thread with the bytes hashed so far and the bytes to hash, a few times a second and at the end.
sd_ItemCheck VerifyFolder(const QString& folder, const std::function<void(qint64, qint64)>& progress);

// What a check found, as lines: "<shown folder>: all 8 files match", or "<shown folder>: 1 changed,
// 0 missing, 1 added" followed by "  changed: <path>", "  missing: <path>", "  added: <path>" lines.
QStringList CheckReport(const sd_ItemCheck& check);

// One line on all the checks: "No copied item of the kit has a manifest.", "All items match their
// manifests (3 checked).", "1 of 3 items differ from their manifests.".
QString VerifySummary(const QList<sd_ItemCheck>& checks);

} // namespace sd
