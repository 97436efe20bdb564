// Fuzz target: the inventory loader on arbitrary file contents, then the writer on what it loaded.
#include "arrayplan/frontend/RunSettings.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
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
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fuzz-inventory-" + std::to_string(std::random_device{}()));
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
    std::string input = scratchPath("inventory.ini");
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string sink;
    Console::Instance().Capture(&sink, &sink);
    RunSettings settings;
    ControllerList controllers;
    int code = 0;
    if (loadInventory(settings, CString(input.c_str()), controllers, code)) {
        for (int i = 0; RaidController* controller = controllers.at(i); ++i)
            controller->dump(true);
        writeInventory(settings, CString(scratchPath("written.ini").c_str()), controllers);
    }
    Console::Instance().Capture(nullptr, nullptr);
    return 0;
}
