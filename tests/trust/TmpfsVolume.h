// A small tmpfs mounted on a folder for the length of a test (mounting needs root), and a filler file that
// leaves a chosen number of free pages on it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

class TmpfsVolume {
public:
    TmpfsVolume(const std::filesystem::path& mountPoint, size_t bytes);
    ~TmpfsVolume();
    TmpfsVolume(const TmpfsVolume&) = delete;
    TmpfsVolume& operator=(const TmpfsVolume&) = delete;

    // Empty when the volume is mounted, otherwise the system's reason.
    const std::string& WhyNotMounted() const { return whyNot_; }
    // The folder below the mount point that the runs work in (the filler lies beside it).
    std::filesystem::path Folder() const { return mountPoint_ / "run"; }

    size_t PageSize() const;
    size_t FreePages() const;
    // Fills the volume so that exactly pages free pages remain; false, with why, when it cannot.
    bool FillLeaving(size_t pages, std::string& why);
    void RemoveFiller();

private:
    std::filesystem::path mountPoint_;
    std::string whyNot_;
};
