#include "DriverSetGenerator.h"

#include "Workspace.h"

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ShapeText(const DriverSetShape& shape) {
    return std::to_string(shape.driverFolders) + " folders, " + std::to_string(shape.filesPerFolder) +
           " files each, " + std::to_string(shape.totalBytes) + " bytes" +
           (shape.varySizes ? "" : ", equal sizes") + "\n";
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

std::string DriverInfoText(int driver) {
    return "[Driver Information]\nDescription = Generated driver " + std::to_string(driver) +
           "\nInstallation Mode = Setup\nCategory = Storage\nSupported Systems = 8840,8841\n";
}

// Payload sizes vary between 1 byte and twice the mean, so that the set mixes small and large files.
bool WritePayloads(const fs::path& folder, int count, uint64_t meanSize, bool varySizes,
                   std::mt19937_64& random, const std::vector<char>& noise) {
    std::uniform_int_distribution<uint64_t> size(varySizes ? 1 : meanSize,
                                                 varySizes ? 2 * meanSize - 1 : meanSize);
    for (int i = 0; i < count; ++i) {
        // Every fourth file sits in a nested folder, as driver sets keep per-architecture files.
        fs::path path = (i % 4 == 3) ? folder / "x64" / ("file" + std::to_string(i) + ".sys")
                                     : folder / ("file" + std::to_string(i) + ".bin");
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        uint64_t left = size(random);
        while (left > 0 && out) {
            size_t offset = random() % (noise.size() / 2);
            size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, noise.size() / 2));
            out.write(noise.data() + offset, static_cast<std::streamsize>(chunk));
            left -= chunk;
        }
        if (!out)
            return false;
    }
    return true;
}

} // namespace

bool EnsureDriverSet(const fs::path& folder, const DriverSetShape& shape) {
    fs::path marker = folder / "generated-shape.txt";
    std::ifstream previous(marker);
    std::string recorded((std::istreambuf_iterator<char>(previous)), std::istreambuf_iterator<char>());
    if (recorded == ShapeText(shape))
        return true;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);

    std::mt19937_64 random(20070305);
    std::vector<char> noise(1 << 21);
    for (char& c : noise)
        c = static_cast<char>(random());
    const int payloads = shape.filesPerFolder - 1;
    const uint64_t meanSize = shape.totalBytes / (uint64_t(shape.driverFolders) * payloads);
    if (!WriteText(folder / "DrvSet.ini", "[Main]\nSupported Systems = 8840,8841\n"))
        return false;
    for (int driver = 0; driver < shape.driverFolders; ++driver) {
        fs::path driverFolder = folder / ("driver" + std::to_string(1000 + driver));
        fs::create_directories(driverFolder);
        if (!WriteText(driverFolder / "DrvInfo.ini", DriverInfoText(driver)) ||
            !WritePayloads(driverFolder, payloads, std::max<uint64_t>(meanSize, 1), shape.varySizes, random,
                           noise))
            return false;
    }
    return WriteText(marker, ShapeText(shape));
}

fs::path CopyBenchmarkSource() {
    const bool quick = QuickMode();
    const fs::path folder = ScratchFolder() / (quick ? "driverset-quick" : "driverset-1g");
    const DriverSetShape shape = quick ? DriverSetShape{50, 40, uint64_t(32) << 20, true} : DriverSetShape{};
    return EnsureDriverSet(folder, shape) ? folder : fs::path();
}
