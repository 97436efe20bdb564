// What a hashed copy tells of the file it made, so that its record needs no second look at the file.
#pragma once

#include <QByteArray>

struct sd_CopiedFile {
    QByteArray sha256;     // the hexadecimal SHA-256 of the contents, hashed from the copy's reads
    qint64 size = 0;       // bytes copied
    qint64 modifiedMs = 0; // the new file's modification time, ms since 1970, as QFileInfo gives it
};
