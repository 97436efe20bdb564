// arrayplan /explain on real policy files, one row per kind of failure: the explanation states the facts
// of the failure, the run's own output before it is what a run without /explain prints, and every
// suggested change, written into the policy file, makes a real run succeed.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A support file line changed before the run: which file, what is replaced and by what.
struct SupportChange {
    std::string file;
    std::string from;
    std::string to;
};

struct FailureKind {
    const char* name;
    std::string inventory; // empty: the example inventory
    std::string policies;
    std::vector<SupportChange> support;
    int code;
    std::vector<std::string> facts; // whole lines of the explanation
};

// Tests name the kind, not its bytes.
void PrintTo(const FailureKind& kind, std::ostream* os) {
    *os << kind.name;
}

// One suggestion: the policy it changes and its keyword lines.
struct Suggestion {
    std::string policy;
    std::vector<std::string> lines;
};

// One controller's block of the explanation.
struct Block {
    bool fails = false;
    std::vector<Suggestion> suggestions;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<Block> blocksOf(const std::string& explanation) {
    std::vector<Block> blocks;
    for (const std::string& line : linesOf(explanation)) {
        if (startsWith(line, "Controller ")) {
            blocks.emplace_back();
        } else if (blocks.empty()) {
            continue;
        } else if (line.find(" fails with code ") != std::string::npos ||
                   startsWith(line, "    Planning fails with code ")) {
            blocks.back().fails = true;
        } else if (startsWith(line, "    Suggestion ")) {
            size_t in = line.find(": in ") + 5;
            blocks.back().suggestions.push_back({line.substr(in, line.find(", ", in) - in), {}});
        } else if (startsWith(line, "        ") && !blocks.back().suggestions.empty()) {
            blocks.back().suggestions.back().lines.push_back(line.substr(8));
        }
    }
    return blocks;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string keywordOf(const std::string& line) {
    std::string keyword = line.substr(0, line.find('='));
    keyword.erase(keyword.find_last_not_of(" \t") + 1);
    return lowered(keyword);
}

// The policy file with a suggestion written in: its lines replace the lines of the same keyword in the
// policy's section, are added at the section's end when it has none, or remove them ("remove <keyword>").
std::string applied(const std::string& policies, const Suggestion& suggestion) {
    std::vector<std::string> lines = linesOf(policies);
    auto section = std::find(lines.begin(), lines.end(), "[" + suggestion.policy + "]");
    EXPECT_NE(section, lines.end()) << suggestion.policy;
    for (const std::string& change : suggestion.lines) {
        bool removal = startsWith(change, "remove ");
        std::string keyword = lowered(removal ? change.substr(7) : keywordOf(change));
        auto end =
            std::find_if(section + 1, lines.end(), [](const std::string& l) { return startsWith(l, "["); });
        auto found = std::find_if(section + 1, end, [&](const std::string& l) {
            return l.find('=') != std::string::npos && keywordOf(l) == keyword;
        });
        if (removal) {
            EXPECT_NE(found, end) << change;
            if (found != end)
                lines.erase(found);
        } else if (found != end) {
            *found = change;
        } else {
            lines.insert(end, change);
        }
        section = std::find(lines.begin(), lines.end(), "[" + suggestion.policy + "]");
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::string inventoryOf(const std::string& model, int drives, int size) {
    std::string text =
        "[System]\nMachine_Type = 8837\nSerial_Number = KQ4711X\nTotal_Number_Of_Controllers = 1\n\n"
        "[RAIDController.1]\nModel = " +
        model + "\n\n[RAIDController.1.Physical]\nTotal_Number_Of_Physicals = " + std::to_string(drives) +
        "\n";
    for (int d = 1; d <= drives; ++d) {
        std::string n = std::to_string(d);
        text += "Channel." + n + " = 1\nID." + n + " = " + std::to_string(d - 1) + "\nSize." + n + " = " +
                std::to_string(size) + "\nType." + n + " = SATA\n";
    }
    return text;
}

// The example's planned policy for the Vaultix-M1 (four 286102 MB and two 953869 MB drives).
std::string plannedM1(const std::string& extra, const std::string& arrayB, const std::string& logicals) {
    return "; Planned: drive counts only.\n[Policy.Planned-M1]\nAppliesTo.1 = t:Vaultix-M1\n" + extra +
           "Array.A = #4\nArray.B = " + arrayB + "\nLogical_Mode = CUSTOM\n" + logicals;
}
const std::string kM1Logicals = "Logical.1 = A:50%:10\nLogical.2 = A:FILL:10\nLogical.3 = B:FILL:1\n";

// The example's hand-written policy for the Vaultix-Q4 (three 70007 MB and two 140013 MB drives).
std::string customQ4(const std::string& arrayA, const std::string& hotSpares) {
    return "[Policy.FileServer-Q4]\nAppliesTo.1 = t:Vaultix-Q4, d:5\nStripeSize = 64\nArray_Mode = CUSTOM\n"
           "Array.A = " +
           arrayA + "\nArray.B = 2:0, 2:1\n" + hotSpares +
           "Logical_Mode = CUSTOM\nLogical.1 = A:20000:5\nLogical.2 = A:FILL:5\nLogical.3 = B:FILL:1\n";
}

const FailureKind kFailureKinds[] = {
    {"RaidLevel",
     "",
     plannedM1("", "#2", "Logical.1 = A:50%:1E\nLogical.2 = A:FILL:1E\nLogical.3 = B:FILL:1\n"),
     {},
     4,
     {"    Planning fails with code 4: Unsupported RAID level for controller",
      "    Logical.1 asks for RAID 1E, which the support file does not list."}},
    {"StripeSize",
     "",
     plannedM1("StripeSize = 256\n", "#2", kM1Logicals),
     {},
     5,
     {"    Planning fails with code 5: Unsupported stripe size for controller",
      "    Reported: Supported Stripe sizes for Vaultix-M1 are: 8, 16, 32, 64, 128"}},
    {"ArrayCount",
     inventoryOf("Vaultix-R1", 4, 100000),
     "[Policy.Mirrors]\nAppliesTo.1 = t:Vaultix-R1\nArray.A = #2\nArray.B = #1\nArray.C = #1\nLogical_Mode = "
     "CUSTOM\n"
     "Logical.1 = A:FILL:1\nLogical.2 = B:FILL:0\nLogical.3 = C:FILL:0\n",
     {},
     6,
     {"    3 arrays asked for; the support file allows 2."}},
    {"ArrayDrives",
     "",
     plannedM1("", "#3", kM1Logicals),
     {},
     7,
     {"    Array.A, RAID 10, 4 drives:", "        286102 MB, 4 free: a candidate with 4 drives",
      "        953869 MB, 2 free: rejected: too few free drives of this size (4 needed)",
      "    Array.B, RAID 1, 3 drives: the support file allows at most 2 drives for RAID 1."}},
    {"LogicalDrives",
     "",
     plannedM1("", "#2",
               "Logical.1 = A:50%:10\nLogical.2 = A:FILL:10\nLogical.3 = B:50%:1\nLogical.4 = B:FILL:1\n"),
     {{"Vaultix-M1.ini", "[1]\nMinPhysicalDrives = 2\nMaxPhysicalDrives = 2\nMaxLogicalDrives = 8",
       "[1]\nMinPhysicalDrives = 2\nMaxPhysicalDrives = 2\nMaxLogicalDrives = 1"}},
     8,
     {"    Array.B has 2 logical drives; the support file allows 1 for RAID 1."}},
    {"HotSparesWhilePlanning",
     "",
     plannedM1("Array_Defaults = 0%:7\n", "#2", kM1Logicals),
     {},
     9,
     {"    Drives: 4 x 286102 MB, 2 x 953869 MB.",
      "    Hot spares: 7 asked for, but the controller has only 6 drives."}},
    {"HotSparesWhileBuilding",
     "",
     customQ4("1:0, 1:1, 1:2", "Hotspares = 9\n"),
     {},
     9,
     {"    Building the configuration fails with code 9: Not enough available drives to allocate hot spares",
      "    Reported: Policy.FileServer-Q4, Hotspares -- The following drive does not exist:  9 Vaultix-Q4 "
      "controller."}},
    {"ArrayDrivesWhileChecking",
     "",
     "[Policy.FileServer-Q4]\nAppliesTo.1 = t:Vaultix-Q4, d:5\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\n"
     "Array.B = 2:0, 2:1, 1:2\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\nLogical.2 = B:FILL:1\n",
     {},
     7,
     {"    The check against the support file fails with code 7: Number of physical drives in array not "
      "supported by controller",
      "    Array.B has 3 drives; the support file allows 2 for RAID 1.",
      "    Drives: 3 x 70007 MB, 2 x 140013 MB."}},
    {"ArrayWithoutLogicalDrive",
     "",
     "[Policy.FileServer-Q4]\nAppliesTo.1 = t:Vaultix-Q4, d:5\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\n"
     "Array.B = 2:0, 2:1\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n",
     {},
     7,
     {"    Array.B has no logical drive, so no RAID level that would allow its drives.",
      "        Logical.2 = B:FILL:0"}},
    {"SameSizeWhilePlanning",
     "",
     plannedM1("Array_Defaults = 0%:1\n", "#2", kM1Logicals),
     {},
     10,
     {"    Hot spares taken first, the largest drives: drive 6 (953869 MB).",
      "        953869 MB, 1 free: rejected: too few free drives of this size (2 needed)",
      "    The arrays compete for the 4 free drives of 286102 MB (Array.A 4, Array.B 2)."}},
    {"SameSizeWhileBuilding",
     "",
     customQ4("1:0, 1:1", ""),
     {},
     10,
     {"    Reported: Could not use Policy.FileServer-Q4 to configure Vaultix-Q4 controller. The number of "
      "drives "
      "in the Array.A cannot accommodate the RAID level specified."}},
    {"PartialSizing",
     inventoryOf("Vaultix-R2-SATA", 4, 100000),
     "[Policy.Zones]\nAppliesTo.1 = t:Vaultix-R2-SATA\nArray.A = #2\nLogical_Mode = CUSTOM\nLogical.1 = "
     "A:50%:1\n",
     {},
     17,
     {"    This controller type sizes no logical drive partially, each must be FILL or 100%: Logical.1 asks "
      "for "
      "50%."}},
    {"NoPolicy",
     "",
     "[Policy.Other]\nAppliesTo.1 = m:9999, t:Vaultix-M1\nArray.A = AUTO\nLogical_Mode = CUSTOM\nLogical.1 = "
     "A:FILL:5\n",
     {},
     19,
     {"No policy applies to any controller; the exit status is 19.",
      "    Policy.Other does not apply: entry 1 wants m:9999 (the machine type is 8837).",
      "    No policy applies to this controller."}},
    {"EveryControllerFails",
     "",
     customQ4("1:0, 1:1, 1:2", "Hotspares = 9\n") + plannedM1("", "#3", kM1Logicals),
     {},
     7,
     {"2 controllers fail: controller 1 (code 9), controller 2 (code 7); the exit status is 7, the first "
      "failure's code.",
      "    Building the configuration fails with code 9: Not enough available drives to allocate hot spares",
      "    Planning fails with code 7: Number of physical drives in array not supported by controller"}},
};

class ExplainRun : public testing::TestWithParam<FailureKind> {
protected:
    void SetUp() override {
        const FailureKind& kind = GetParam();
        std::string inventory = kind.inventory.empty()
                                    ? ReadWholeFile(KIT_SOURCE_DIR "/examples/arrayplan/inventory.ini")
                                    : kind.inventory;
        dir_.Write("inventory.ini", inventory);
        raid_ = dir_.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid");
        for (const SupportChange& change : kind.support) {
            std::string text = ReadWholeFile(raid_ + "/" + change.file);
            size_t at = text.find(change.from);
            ASSERT_NE(at, std::string::npos) << change.file;
            WriteWholeFile(raid_ + "/" + change.file, text.replace(at, change.from.size(), change.to));
        }
    }

    ProgramResult run(const std::string& policies, bool explain) {
        dir_.Write("policies.ini", policies);
        std::vector<std::string> args = {
            "/ini:" + ProgramPath(dir_ / "inventory.ini"), "/inp:" + ProgramPath(dir_ / "policies.ini"),
            "/outi:" + ProgramPath(dir_ / "out.ini"), "/outp:" + ProgramPath(dir_ / "out-policies.ini"),
            "/raid:" + ProgramPath(raid_)};
        if (explain)
            args.push_back("/explain");
        return RunProgram(BuiltProgram("arrayplan"), args);
    }

    TempDir dir_;
    std::string raid_;
};

TEST_P(ExplainRun, StatesTheFactsAndEverySuggestionMakesARealRunSucceed) {
    const FailureKind& kind = GetParam();
    ProgramResult plain = run(kind.policies, false);
    ProgramResult explained = run(kind.policies, true);
    ASSERT_EQ(plain.status, kind.code) << plain.out;
    EXPECT_EQ(explained.status, kind.code);
    ASSERT_EQ(explained.out.compare(0, plain.out.size(), plain.out), 0) << explained.out;
    std::string explanation = explained.out.substr(plain.out.size());
    ASSERT_TRUE(startsWith(explanation, "\nExplanation\n")) << explanation;
    std::vector<std::string> lines = linesOf(explanation);
    for (const std::string& fact : kind.facts)
        EXPECT_NE(std::find(lines.begin(), lines.end(), fact), lines.end()) << fact << "\n" << explanation;

    std::vector<Block> blocks = blocksOf(explanation);
    ASSERT_FALSE(blocks.empty());
    size_t suggested = 0;
    for (size_t c = 0; c < blocks.size(); ++c) {
        for (const Suggestion& suggestion : blocks[c].suggestions) {
            ++suggested;
            // The other failing controllers take their own first suggestion, so the run can succeed.
            std::string policies = applied(kind.policies, suggestion);
            for (size_t other = 0; other < blocks.size(); ++other) {
                if (other != c && blocks[other].fails && !blocks[other].suggestions.empty())
                    policies = applied(policies, blocks[other].suggestions.front());
            }
            ProgramResult changed = run(policies, false);
            EXPECT_EQ(changed.status, 0) << "controller " << c + 1 << ":\n" << policies << changed.out;
        }
    }
    EXPECT_GT(suggested, 0u) << explanation;
}

INSTANTIATE_TEST_SUITE_P(FailureKinds, ExplainRun, testing::ValuesIn(kFailureKinds),
                         [](const testing::TestParamInfo<FailureKind>& info) { return info.param.name; });

} // namespace
