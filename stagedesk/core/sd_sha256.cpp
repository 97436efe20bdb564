#include "stagedesk/core/sd_sha256.h"

#include <QFile>

#include <openssl/evp.h>

#include <vector>

struct sd_Sha256::Context {
    EVP_MD_CTX* evp = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(evp); }
};

sd_Sha256::sd_Sha256() : context_(std::make_unique<Context>()) {
    EVP_DigestInit_ex(context_->evp, EVP_sha256(), nullptr);
}

sd_Sha256::~sd_Sha256() = default;

void sd_Sha256::Update(const char* data, qint64 size) {
    EVP_DigestUpdate(context_->evp, data, size_t(size));
}

QByteArray sd_Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_->evp, digest, &length);
    EVP_DigestInit_ex(context_->evp, EVP_sha256(), nullptr);
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

namespace sd {

bool HashFile(const QString& path, QByteArray& hex, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    sd_Sha256 hash;
    thread_local std::vector<char> buffer(1 << 20); // one per thread, not cleared again for every file
    for (;;) {
        const qint64 got = file.read(buffer.data(), qint64(buffer.size()));
        if (got < 0) {
            error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        hash.Update(buffer.data(), got);
    }
    hex = hash.HexDigest();
    return true;
}

} // namespace sd
