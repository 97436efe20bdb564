// Fuzz target: a controller support file with arbitrary contents, loaded and queried.
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidEnums.h"
#include "foundation/Console.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

// A scratch folder for the files of one process, removed at exit.
struct ScratchFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("fuzz-controller-ini-" + std::to_string(std::random_device{}()));
    ScratchFolder() { std::filesystem::create_directories(path); }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

std::string scratchPath(const char* name) {
    static const ScratchFolder folder;
    return (folder.path / name).string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(scratchPath("Fuzz-Model.ini"), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string sink;
    Console::Instance().Capture(&sink, &sink);
    ControllerIni ini(CString(scratchPath("").c_str()), "Fuzz-Model");
    if (ini.load()) {
        for (const char* stripe : {"8", "64", "4096", "64KB"})
            ini.stripeSizeSupported(stripe);
        for (int level = -1; level <= 14; ++level) {
            ini.raidLevelSupported(level);
            ini.minPhysicalDrives(level);
            ini.maxPhysicalDrives(level);
            ini.maxLogicalDrives(level);
        }
        ini.dump();
    }
    Console::Instance().Capture(nullptr, nullptr);
    return 0;
}
