#include "TmpfsVolume.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace fs = std::filesystem;

TmpfsVolume::TmpfsVolume(const fs::path& mountPoint, size_t bytes) : mountPoint_(mountPoint) {
    fs::create_directories(mountPoint_);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        whyNot_ = "mounting a tmpfs on " + mountPoint_.string() + " was refused: " + std::strerror(errno);
        return;
    }
    fs::create_directories(Folder());
}

TmpfsVolume::~TmpfsVolume() {
    if (whyNot_.empty())
        umount2(mountPoint_.c_str(), MNT_DETACH);
}

size_t TmpfsVolume::PageSize() const {
    struct statvfs volume;
    return statvfs(mountPoint_.c_str(), &volume) == 0 ? volume.f_bsize : 4096;
}

size_t TmpfsVolume::FreePages() const {
    struct statvfs volume;
    if (statvfs(mountPoint_.c_str(), &volume) != 0)
        return 0;
    return volume.f_bavail * volume.f_frsize / PageSize();
}

bool TmpfsVolume::FillLeaving(size_t pages, std::string& why) {
    const std::string filler = (mountPoint_ / "filler").string();
    int descriptor = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (descriptor < 0) {
        why = "the filler cannot be created: " + std::string(std::strerror(errno));
        return false;
    }
    const std::vector<char> chunk(1 << 20, 'f');
    off_t size = 0;
    for (ssize_t written; (written = write(descriptor, chunk.data(), chunk.size())) > 0;)
        size += written;
    // The last page may be partly filled; it is taken all the same.
    const off_t page = off_t(PageSize());
    const off_t taken = (size + page - 1) / page;
    const bool truncated = taken >= off_t(pages) && ftruncate(descriptor, (taken - off_t(pages)) * page) == 0;
    close(descriptor);
    if (!truncated || FreePages() != pages) {
        why = "the filler left " + std::to_string(FreePages()) + " free pages, not " + std::to_string(pages);
        return false;
    }
    return true;
}

void TmpfsVolume::RemoveFiller() {
    std::error_code ignored;
    fs::remove(mountPoint_ / "filler", ignored);
}
