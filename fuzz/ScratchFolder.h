// The fuzz targets that read files write each input to a scratch folder of their own process.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// name inside this process's scratch folder, which is made on first use and removed at exit.
inline std::string FuzzScratchPath(const char* name) {
    struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("fuzz-" + std::to_string(std::random_device{}()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return (folder.path / name).string();
}
