#include "FleetInput.h"

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPerFolder = 1000;

const char* const kModels[] = {
    "Vaultix-Q1",        "Vaultix-Q2",        "Vaultix-Q3",         "Vaultix-Q4",        "Vaultix-Q5",
    "Vaultix-Q6",        "Vaultix-Q7",        "Vaultix controller", "Vaultix-R1",        "Vaultix-R2-SATA",
    "Vaultix-R2-SCSI",   "Vaultix-S1",        "Vaultix-S2-SAS",     "Vaultix-S2-SATA",   "Vaultix-S3",
    "Vaultix-S3-e",      "Vaultix-S4",        "Vaultix-M1",         "Vaultix-M2",        "Vaultix-M3",
    "Corvane-SCSI-RAID", "Corvane-PATA-RAID", "Corvane-SAS-RAID",   "Corvane-SAS-Basic", "Corvane-Multi-RAID",
};

const int kDriveSizes[] = {70007, 140013, 286102, 953869};

const char* const kPolicies = R"(; Fleet policies: twenty rules for the kit's controller models.

[Policy.FileServer-Q4]
AppliesTo.1 = t:Vaultix-Q4, d:5
StripeSize = 64
ReadAhead = ADAPTIVE
Array_Mode = CUSTOM
Array.A = 1,2,3
Array.B = 4,5
Logical_Mode = CUSTOM
Logical.1 = A:20000:5
Logical.2 = A:FILL:5
Logical.3 = B:FILL:1

[Policy.Planned-M1]
AppliesTo.1 = t:Vaultix-M1
StripeSize = 128
Array.A = #4
Array.B = #2
Logical_Mode = CUSTOM
Logical.1 = A:50%:10
Logical.2 = A:FILL:10
Logical.3 = B:FILL:1

[Policy.Planned-Vaultix-Q1]
AppliesTo.1 = t:Vaultix-Q1
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-Q2]
AppliesTo.1 = t:Vaultix-Q2
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-Q3]
AppliesTo.1 = t:Vaultix-Q3
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-Q4]
AppliesTo.1 = t:Vaultix-Q4
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-Q5]
AppliesTo.1 = t:Vaultix-Q5
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-Q6]
AppliesTo.1 = t:Vaultix-Q6
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-Q7]
AppliesTo.1 = t:Vaultix-Q7
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-M2]
AppliesTo.1 = t:Vaultix-M2
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Planned-Vaultix-M3]
AppliesTo.1 = t:Vaultix-M3
StripeSize = 32
Array_Defaults = 5%:1
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Rack-Vaultix-controller]
AppliesTo.1 = t:Vaultix controller
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Rack-Vaultix-R1]
AppliesTo.1 = t:Vaultix-R1
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Rack-Vaultix-S1]
AppliesTo.1 = t:Vaultix-S1
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Rack-Vaultix-S3]
AppliesTo.1 = t:Vaultix-S3
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Rack-Vaultix-S4]
AppliesTo.1 = t:Vaultix-S4
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Rack-Corvane-SAS-RAID]
AppliesTo.1 = t:Corvane-SAS-RAID
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Rack-Corvane-Multi-RAID]
AppliesTo.1 = t:Corvane-Multi-RAID
ReadAhead = ON
RebuildRate = MED
Array_Defaults = 5%:1
Logical_Defaults = FILL:AUTO

[Policy.Boot-R2]
AppliesTo.1 = t:Vaultix-R2-SATA
AppliesTo.2 = t:Vaultix-R2-SCSI
StripeSize = 32
Array_Mode = CUSTOM
Array.A = 1,2
Hotspares = 3
Logical_Mode = CUSTOM
Logical.1 = A:FILL:1

[Policy.Mirror-Any]
AppliesTo.1 = ALL
Array_Mode = CUSTOM
Array.A = 1,2
Logical_Mode = CUSTOM
Logical.1 = A:FILL:1
)";

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out.flush());
}

// Inventory number n, the same for every fleet written: its controllers, drives and sizes come from a
// generator seeded with n.
std::string Inventory(int n) {
    std::mt19937 random(static_cast<unsigned>(n) * 2654435761u + 1);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    int controllers = pick(1, 4);
    std::string text =
        "; generated fleet inventory\n[System]\nMachine_Type = " + std::to_string(8000 + n % 50) +
        "\nSerial_Number = FLEET" + std::to_string(n) +
        "\nTotal_Number_Of_Controllers = " + std::to_string(controllers) + "\n";
    for (int c = 1; c <= controllers; ++c) {
        std::string section = "RAIDController." + std::to_string(c);
        text += "\n[" + section + "]\nModel = " + kModels[pick(0, std::size(kModels) - 1)] +
                "\nBIOSVersion = 5.2-0\nFirmwareVersion = 5.2-0\n";
        int drives = pick(4, 32);
        text += "\n[" + section + ".Physical]\nTotal_Number_Of_Physicals = " + std::to_string(drives) + "\n";
        // Mostly one size per controller, some drives of a second one.
        int size = kDriveSizes[pick(0, 3)];
        int other = kDriveSizes[pick(0, 3)];
        for (int d = 0; d < drives; ++d) {
            std::string p = std::to_string(d + 1);
            text += "Channel." + p + " = " + std::to_string(1 + d / 16) + "\nID." + p + " = " +
                    std::to_string(d % 16) + "\nSize." + p + " = " +
                    std::to_string(pick(0, 4) == 0 ? other : size) + "\nType." + p + " = SAS\n";
        }
    }
    return text;
}

// Folder of inventory n: "a/part-0" to "a/part-<half-1>" hold the first half, "b/..." the rest.
fs::path FolderOf(const fs::path& root, int n, int inventories) {
    int part = n / kPerFolder;
    bool firstHalf = n < inventories / 2;
    return root / (firstHalf ? "a" : "b") / ("part-" + std::to_string(part));
}

} // namespace

bool WriteFleetInput(const fs::path& folder, int inventories, FleetInput& input) {
    input.root = folder / "fleet";
    input.firstHalf = input.root / "a";
    input.firstThousand = input.firstHalf / "part-0";
    input.policies = folder / "policies.ini";
    input.raidDirectory = folder / "raid";
    const fs::path done = folder / ("written-" + std::to_string(inventories));
    std::error_code error;
    if (fs::exists(done, error))
        return true;
    fs::remove_all(folder, error);
    fs::create_directories(input.raidDirectory, error);
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(KIT_SOURCE_DIR) / "data" / "raid", error))
        fs::copy_file(entry.path(), input.raidDirectory / entry.path().filename(), error);
    if (error || !WriteText(input.policies, kPolicies))
        return false;
    for (int n = 0; n < inventories; ++n) {
        fs::path parent = FolderOf(input.root, n, inventories);
        if (n % kPerFolder == 0)
            fs::create_directories(parent, error);
        char name[32];
        std::snprintf(name, sizeof name, "srv-%05d.ini", n);
        if (error || !WriteText(parent / name, Inventory(n)))
            return false;
    }
    return WriteText(done, "");
}
