// SHA-256 through the system's crypto library, which uses the processor's SHA instructions where it has
// them. Fed piece by piece, so a file is hashed from the same reads that copy it.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class sd_Sha256 {
public:
    sd_Sha256();
    ~sd_Sha256();
    sd_Sha256(const sd_Sha256&) = delete;
    sd_Sha256& operator=(const sd_Sha256&) = delete;

    void Update(const char* data, qint64 size);
    // The 64 lower-case hexadecimal digits of everything fed so far; the hash starts over afterwards.
    QByteArray HexDigest();

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

namespace sd {

// The hexadecimal SHA-256 of a file's contents; false with the system's reason when it cannot be read.
bool HashFile(const QString& path, QByteArray& hex, QString& error);

} // namespace sd
