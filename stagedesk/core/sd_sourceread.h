// A source file read whole ahead of its copy, hashed as it was read, so that the copy only writes it.
#pragma once

#include <QByteArray>

// What tells that a file changed since it was read: size, times and identity, as the system keeps them.
struct sd_FileStamp {
    qint64 size = 0, modifiedNs = 0, changedNs = 0, identity = 0;
    bool operator==(const sd_FileStamp&) const = default;
};

struct sd_SourceRead {
    QByteArray bytes;
    QByteArray sha256;  // hexadecimal
    int mode = 0;       // the permission bits
    sd_FileStamp stamp; // when it was read
};
