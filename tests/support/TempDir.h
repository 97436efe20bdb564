// A fresh folder under the system's temporary folder, removed with everything in it at the end of a test.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }

    // Writes a file (creating its folders) and returns its path.
    std::string Write(const std::string& relative, const std::string& content) const;
    std::string Read(const std::string& relative) const;
    // Copies a folder of this machine (for example the shipped support files) into the folder and
    // returns the copy's path, so runs never write into the source tree.
    std::string CopyIn(const std::string& sourceFolder, const std::string& relative) const;

private:
    std::filesystem::path path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);
