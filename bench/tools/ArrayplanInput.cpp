#include "ArrayplanInput.h"

#include <algorithm>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* kModel = "Vaultix-M1"; // 128 drives, 16 arrays, 8 hot spares
constexpr int kChannels = 4;
constexpr int kIds = 32;
constexpr int kArrays = 8;
constexpr int kKeywordLines = 50;

// Four drive sizes spread over the channels, so that the planner has to group them: 30 drives of each of
// the three smaller sizes and 38 of the largest, which also gives the 8 hot spares.
int DriveSize(int channel, int id) {
    int key = ((channel - 1) * kIds + id) * 37 % (kChannels * kIds); // a permutation of the positions
    return 286102 * (1 + std::min(key / 30, 3));
}

std::string Inventory(int controllers) {
    std::string text = "; generated: " + std::to_string(controllers) +
                       " controllers of 128 drives\n[System]\n"
                       "Machine_Type = 8837\nSerial_Number = BENCH0001\nTotal_Number_Of_Controllers = " +
                       std::to_string(controllers) + "\n";
    for (int c = 1; c <= controllers; ++c) {
        std::string section = "RAIDController." + std::to_string(c);
        text += "\n[" + section + "]\nModel = " + kModel +
                "\nBIOSVersion = 2.10.0\nFirmwareVersion = 2.10.0-112\n";
        text += "\n[" + section +
                ".Physical]\nTotal_Number_Of_Physicals = " + std::to_string(kChannels * kIds) + "\n";
        int p = 0;
        for (int channel = 1; channel <= kChannels; ++channel) {
            for (int id = 0; id < kIds; ++id) {
                std::string n = std::to_string(++p);
                text += "Channel." + n + " = " + std::to_string(channel) + "\nID." + n + " = " +
                        std::to_string(id) + "\nSize." + n + " = " + std::to_string(DriveSize(channel, id)) +
                        "\nType." + n + " = SAS\n";
            }
        }
    }
    return text;
}

// A policy of exactly 50 keyword lines that plans eight arrays of 15 drives with 8 hot spares. Only the
// last policy of the file applies to the inventory's controllers, so matching walks every policy first.
std::string Policy(int number, bool applies) {
    std::string n = std::to_string(number);
    std::string text = "\n; generated policy " + n + "\n[Policy.Generated-" + n + "]\n";
    int lines = 0;
    auto line = [&](const std::string& keyword, const std::string& value) {
        text += keyword + " = " + value + "\n";
        ++lines;
    };
    line("AppliesTo.1", applies ? std::string("t:") + kModel : "m:9999, s:OTHER" + n);
    for (int i = 2; i <= 15; ++i)
        line("AppliesTo." + std::to_string(i), "m:9999, s:OTHER" + n + ", c:" + std::to_string(i));
    line("RebuildRate", "HIGH");
    line("ReadAhead", "ADAPTIVE");
    line("StripeSize", "64");
    line("Array_Mode", "AUTO");
    line("Array_Defaults", "5%:8");
    line("Max_Logical_Drive_Size", "4000000");
    for (int a = 0; a < kArrays; ++a)
        line(std::string("Array.") + char('A' + a), "#15");
    line("Logical_Mode", "CUSTOM");
    line("Logical_Defaults", "FILL:5");
    for (int l = 1; l <= kArrays; ++l)
        line("Logical." + std::to_string(l), std::string(1, char('A' + l - 1)) + ":FILL:5");
    line("Init", "QUICK");
    // Keywords that the scan accepts and the validation never reads, up to the limit of 50 lines.
    for (int i = 16; lines < kKeywordLines; ++i)
        line("AppliesTo." + std::to_string(i), "never read");
    return text;
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return bool(out);
}

} // namespace

bool WriteArrayplanInput(const fs::path& folder, const ArrayplanInputShape& shape, ArrayplanInput& input) {
    std::error_code error;
    fs::remove_all(folder, error);
    input.raidDirectory = folder / "raid";
    fs::create_directories(input.raidDirectory, error);
    // The kit's own support files, copied so that the run's temporary file stays in the scratch folder.
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(KIT_SOURCE_DIR) / "data" / "raid", error)) {
        if (entry.path().extension() == ".ini")
            fs::copy_file(entry.path(), input.raidDirectory / entry.path().filename(), error);
        if (error)
            return false;
    }
    input.inventory = folder / "inventory.ini";
    input.policies = folder / "policies.ini";
    std::string policies =
        "; generated: " + std::to_string(shape.policies) + " policies of 50 keyword lines\n";
    for (int p = 1; p <= shape.policies; ++p)
        policies += Policy(p, p == shape.policies);
    input.filesRead = {input.inventory, input.policies, input.raidDirectory / (std::string(kModel) + ".ini")};
    return WriteText(input.inventory, Inventory(shape.controllers)) && WriteText(input.policies, policies);
}
