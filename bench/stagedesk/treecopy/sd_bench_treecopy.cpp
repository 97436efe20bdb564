// The file copy of stagedesk's engine on a whole tree, with or without hashing, as the baseline that the
// console copy's hashing is measured against:
//
//   sd_bench_treecopy --hash|--no-hash SOURCE DESTINATION
//
// Each file goes through the same platform call as in a copy run (temporary name, checked writes,
// rename), so the difference between the two modes is the hashing alone.
#include "stagedesk/core/sd_platform.h"

#include <QString>

#include <cstring>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[1], "--hash") != 0 && std::strcmp(argv[1], "--no-hash") != 0)) {
        std::cerr << "usage: sd_bench_treecopy --hash|--no-hash SOURCE DESTINATION\n";
        return 2;
    }
    const bool hash = std::strcmp(argv[1], "--hash") == 0;
    const fs::path source = argv[2], destination = argv[3];
    fs::create_directories(destination);
    sd_CopiedFile copy;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const fs::path target = destination / fs::relative(entry.path(), source);
        if (entry.is_directory()) {
            fs::create_directories(target);
            continue;
        }
        const sd_FsResult copied =
            sd_platform::Real().CopyFileData(QString::fromStdString(entry.path().string()),
                                             QString::fromStdString(target.string()), hash ? &copy : nullptr);
        if (!copied.ok()) {
            std::cerr << "cannot copy " << entry.path() << ": " << copied.message.toStdString() << '\n';
            return 3;
        }
    }
    return 0;
}
