// Reads arbitrary bytes as a driver file of each kind, asks the support questions and rewrites it.
// Input: one control byte (kind, whether to rewrite), then the file's bytes.
#include "drvstage/DriverInfoFile.h"

#include "fuzz/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t control = data[0];
    const std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string path = FuzzScratchPath("DrvInfo.ini");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }
    {
        DriverInfoFile file(path.c_str(), "fuzz", "1.0", 0, static_cast<DriverFileKind>(control % 3));
        const DriverInfo& info = file.Info();
        const CString probes[] = {"x", "", info.category, content.substr(0, 8).c_str()};
        for (const CString& machineType : probes) {
            file.SupportsMachineType(machineType);
            DriverInfoFile::IsSupported(info.supportedSystems, info.unsupportedSystems, machineType);
            DriverInfoFile::IsSupported(info.unsupportedSystems, info.supportedSystems, machineType);
        }
        if (control & 0x80) {
            file.SetSupportedSystems(info.unsupportedSystems);
            file.SetUnsupportedSystems("");
            file.Write();
        }
    }
    std::filesystem::remove(path);
    return 0;
}
