// Fuzz target: a controller support file with arbitrary contents, loaded and queried.
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidEnums.h"
#include "foundation/Console.h"

#include "fuzz/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(FuzzScratchPath("Fuzz-Model.ini"), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string sink;
    Console::Instance().Capture(&sink, &sink);
    ControllerIni ini(CString(FuzzScratchPath("").c_str()), "Fuzz-Model", Console::Instance());
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
