// A source file read whole ahead of its copy and hashed; once written to a temporary file beside its
// target, its copy only puts that file in place.
#pragma once

#include "stagedesk/core/sd_copiedfile.h"

#include <QByteArray>
#include <QString>

// What tells that a file changed since it was read: size, times and identity, as the system keeps them.
struct sd_FileStamp {
    qint64 size = 0, modifiedNs = 0, changedNs = 0, identity = 0;
    bool operator==(const sd_FileStamp&) const = default;
};

struct sd_SourceRead {
    QByteArray bytes;   // dropped once written to temporary
    QByteArray sha256;  // hexadecimal
    int mode = 0;       // the permission bits
    sd_FileStamp stamp; // when it was read
    QString temporary;  // the file written from the read, until it is put in place or removed
    sd_CopiedFile made; // what temporary holds
};
