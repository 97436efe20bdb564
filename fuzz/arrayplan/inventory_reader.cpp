// Fuzz target: the inventory loader on arbitrary file contents, then the writer on what it loaded (into a
// scratch file, the writer's output being a file).
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RunSettings.h"
#include "foundation/Console.h"

#include "fuzz/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string sink;
    Console::Instance().Capture(&sink, &sink);
    RunSettings settings;
    ControllerList controllers;
    if (loadInventoryText(settings, "inventory.ini",
                          {std::string_view(reinterpret_cast<const char*>(data), size)},
                          controllers) == ResultCode::Success) {
        for (int i = 0; RaidController* controller = controllers.at(i); ++i)
            controller->dump(Console::Instance(), true);
        OutputFile output(CString(FuzzScratchPath("written.ini").c_str()), "~arrayplan~");
        if (output.open(settings))
            (void)writeInventory(settings, output, controllers);
    }
    Console::Instance().Capture(nullptr, nullptr);
    return 0;
}
