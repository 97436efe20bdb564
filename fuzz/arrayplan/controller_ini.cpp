// Fuzz target: a controller support file with arbitrary contents, loaded and queried.
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidEnums.h"
#include "foundation/Console.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string sink;
    Console::Instance().Capture(&sink, &sink);
    ControllerIni ini("", "Fuzz-Model", Console::Instance(), CurrentFileSystem());
    if (ini.loadText({std::string_view(reinterpret_cast<const char*>(data), size)})) {
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
