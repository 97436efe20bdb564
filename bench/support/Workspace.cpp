#include "Workspace.h"

#include <cstdlib>
#include <cstring>

namespace fs = std::filesystem;

fs::path ScratchFolder() {
    const char* chosen = std::getenv("KIT_BENCH_SCRATCH");
    const fs::path folder = chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path() / "kit-bench";
    fs::create_directories(folder);
    return folder;
}

bool QuickMode() {
    const char* quick = std::getenv("KIT_BENCH_QUICK");
    return quick && std::strcmp(quick, "1") == 0;
}

std::string ProgramBeside(const std::string& name) {
    return (fs::read_symlink("/proc/self/exe").parent_path() / name).string();
}

TreeSize MeasureTree(const fs::path& folder) {
    TreeSize size;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file()) {
            ++size.files;
            size.bytes += entry->file_size();
        }
    }
    return size;
}

void RemoveTree(const fs::path& folder) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
