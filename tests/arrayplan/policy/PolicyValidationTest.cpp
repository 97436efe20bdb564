// The keyword rules: every bad value ends the read with its exact message; good values are stored.
#include "arrayplan/model/RaidRecords.h"
#include "tests/arrayplan/policy/PolicyTestSupport.h"

#include <ostream>
#include <string>

namespace {

struct KeywordCase {
    const char* label;
    std::string file;
    std::string report;
};

// Test listings name a case by its label, not by its bytes.
void PrintTo(const KeywordCase& c, std::ostream* os) {
    *os << c.label;
}

const std::string kSizeList = "\tValid values are:  a percentage, a size in MB, or FILL\n";
const std::string kLevelList = "\tValid values are:   0 1 1E 5 5E 5EE 10 VOLUME\n";
const std::string kVarianceList = "\tValid values are:  0% 5% 10% 100%\n";
const std::string kHotSpareCountList =
    "\tValid values for hotspares are:  integers greater than or equal to zero.\n";
const std::string kLogicalOrder = "Policy.A -- Logical drives must be specified in sequential order.\n"
                                  "Logical.1 = ...\nLogical.2 = ...\nLogical.3 = ...\netc.\n";

std::string custom(const std::string& lines) {
    return onePolicy("Array_Mode = CUSTOM\n" + lines);
}

std::string numberedList(int count, const std::string& itemPrefix) {
    std::string list;
    for (int i = 1; i <= count; ++i)
        list += (i > 1 ? "," : "") + itemPrefix + std::to_string(i);
    return list;
}

std::string logicalLines(int count) {
    std::string lines;
    for (int i = 1; i <= count; ++i)
        lines += "Logical." + std::to_string(i) + " = " + static_cast<char>('A' + i - 1) + ":100:0\n";
    return lines;
}

class KeywordErrors : public PolicyFileTest, public ::testing::WithParamInterface<KeywordCase> {};

TEST_P(KeywordErrors, ReportTheMessageAndFail) {
    EXPECT_FALSE(readPolicies(GetParam().file));
    EXPECT_EQ(lastReport(), GetParam().report);
    EXPECT_EQ(reader->policyList().size(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    AppliesTo, KeywordErrors,
    ::testing::Values(KeywordCase{"ControllerZero", "[Policy.A]\nAppliesTo.1 = c:0\n",
                                  "Policy.A, AppliesTo.1 -- Invalid controller number specified:  c:0\n"},
                      KeywordCase{"UpperCasePrefix", "[Policy.A]\nAppliesTo.1 = M:x\n",
                                  "Policy.A, AppliesTo.1 -- Invalid specifier:  M:x\n"},
                      KeywordCase{"ScanOrderZero", "[Policy.A]\nAppliesTo.1 = c:1,  o:0 \n",
                                  "Policy.A, AppliesTo.1 -- Invalid scan order:  o:0\n"},
                      KeywordCase{"DriveCountNotANumber", onePolicy("AppliesTo.3 = d:x\n"),
                                  "Policy.A, AppliesTo.3 -- Invalid number of drives specified:  d:x\n"},
                      KeywordCase{"UnknownControllerType", "[Policy.A]\nAppliesTo.1 = t:Vaultix-Z9\n",
                                  "Policy.A, AppliesTo.1 -- Invalid controller type:  t:Vaultix-Z9\n"},
                      KeywordCase{"EmptyItem", "[Policy.A]\nAppliesTo.1 = c:1,,d:2\n",
                                  "Policy.A, AppliesTo.1 -- Invalid specifier:  \n"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    FixedValues, KeywordErrors,
    ::testing::Values(
        KeywordCase{"EmptyRebuildRate", onePolicy("RebuildRate =\n"),
                    "Policy.A, RebuildRate -- Invalid specifier:  \n\tValid values are:  HIGH MED LOW\n"},
        KeywordCase{"StripeSize", onePolicy("StripeSize = 48\n"),
                    "Policy.A, StripeSize -- Invalid specifier:  48\n"
                    "\tValid values are:  8 16 32 64 128 256 512 1024 2048 4096\n"},
        KeywordCase{"ArrayMode", onePolicy("Array_Mode = MANUAL\n"),
                    "Policy.A, Array_Mode -- Invalid specifier:  MANUAL\n\tValid values are:  AUTO CUSTOM\n"},
        KeywordCase{
            "RemarkStaysInTheValue", onePolicy("Init = QUICK ; fast\n"),
            "Policy.A, Init -- Invalid specifier:  QUICK ; fast\n\tValid values are:  QUICK BUILD\n"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    ArrayDefaults, KeywordErrors,
    ::testing::Values(
        KeywordCase{"OnePart", onePolicy("Array_Defaults = 5%\n"),
                    "Policy.A, Array_Defaults -- Invalid format:  5%\n"
                    "\tValid format is:  variance:hotspares.  Example: 10%:2.\n"},
        KeywordCase{"BlankInVariance", onePolicy("Array_Defaults = 10 %:2\n"),
                    "Policy.A, Array_Defaults -- Invalid specifier:  10 %\n" + kVarianceList},
        KeywordCase{"VarianceNotOffered", onePolicy("Array_Defaults = 15%:2\n"),
                    "Policy.A, Array_Defaults -- Invalid specifier:  15%\n" + kVarianceList},
        KeywordCase{"HotSparesNotANumber", onePolicy("Array_Defaults = 5%:x\n"),
                    "Policy.A, Array_Defaults -- Invalid specifier:  x\n" + kHotSpareCountList},
        KeywordCase{"NegativeHotSpares", onePolicy("Array_Defaults = 5%:-1\n"),
                    "Policy.A, Array_Defaults -- Invalid specifier:  -1\n" + kHotSpareCountList},
        KeywordCase{"BlankBeforeZero", onePolicy("Array_Defaults = 5%: 0\n"),
                    "Policy.A, Array_Defaults -- Invalid specifier:   0\n" + kHotSpareCountList}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Arrays, KeywordErrors,
    ::testing::Values(KeywordCase{"AutoComparedExactly", onePolicy("Array.A = auto\n"),
                                  "Policy.A, Array.A -- Invalid format:  auto\n"},
                      KeywordCase{"CountWithoutHash", onePolicy("Array.A = #2\nArray.B = 3\n"),
                                  "Policy.A, Array.B -- Invalid format:  3\n"},
                      KeywordCase{"CustomWithoutArrayA", custom("Array.B = 1:1\n"),
                                  "Policy.A -- Missing required entry in policies file:  Array.A\n"
                                  "\tThis entry is required when Array_Mode = CUSTOM\n"},
                      KeywordCase{"PairsAndNumbersMixed", custom("Array.A = 1:0, 3\n"),
                                  "Policy.A, Array.A -- Invalid format:  1:0, 3\n"},
                      KeywordCase{"BlankBeforeZeroId", custom("Array.A = 1: 0\n"),
                                  "Policy.A, Array.A -- Invalid format:  1: 0\n"},
                      KeywordCase{"ThreeParts", custom("Array.A = 1:0:2\n"),
                                  "Policy.A, Array.A -- Invalid format:  1:0:2\n"},
                      KeywordCase{"DriveNumberZero", custom("Array.A = 2, 0\n"),
                                  "Policy.A, Array.A -- Invalid format:  2, 0\n"},
                      KeywordCase{"ArrayAfterAll", custom("Array.A = ALL\nArray.B = 1:1\n"),
                                  "Policy.A -- Invalid array specified:  Array.B\n"
                                  "\tThe ALL keyword was specified for a previous array.\n"},
                      KeywordCase{"LetterSkipped", custom("Array.A = 1:1\nArray.C = 1:2\n"),
                                  "Policy.A -- Arrays must be specified in sequential-alphabetical order.\n"
                                  "Array.A = ...\nArray.B = ...\nArray.C = ...\n"},
                      KeywordCase{"ThirtyThreeDriveNumbers",
                                  custom("Array.A = " + numberedList(33, "") + "\n"),
                                  "Policy.A, Array.A -- Too many drives specified.\n"
                                  "\tThe maximum number of drives in an array is 32\n"},
                      KeywordCase{"ThirtyThreePairs",
                                  custom("Array.B = " + numberedList(33, "2:") + "\nArray.A = 1:1\n"),
                                  "Policy.A, Array.B -- Too many drives specified.\n"
                                  "\tThe maximum number of drives in an array is 32\n"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    HotSpares, KeywordErrors,
    ::testing::Values(KeywordCase{"PairsAndNumbersMixed", onePolicy("Hotspares = 1:5, 2\n"),
                                  "Policy.A, Hotspares -- Invalid format:  1:5, 2\n"},
                      KeywordCase{"ChannelNotANumber", onePolicy("Hotspares = x:5\n"),
                                  "Policy.A, Hotspares -- Invalid format:  x:5\n"},
                      KeywordCase{"SeventeenSpares", onePolicy("Hotspares = " + numberedList(17, "") + "\n"),
                                  "Policy.A, Hotspares -- Too many hot-spare drives specified.\n"
                                  "\tThe maximum number of hot-spare drives that you may specify is 16\n"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Logicals, KeywordErrors,
    ::testing::Values(
        KeywordCase{"DefaultsOnePart", onePolicy("Logical_Defaults = 100\n"),
                    "Policy.A, Logical_Defaults -- Invalid format:  100\n"
                    "\tValid format is:  size:raidlevel(:writecmode).  Example: 4096:0:AUTO.\n"},
        KeywordCase{"ZeroPercent", onePolicy("Logical_Defaults = 0%:5\n"),
                    "Policy.A, Logical_Defaults -- Invalid size specified:  0%\n" + kSizeList},
        KeywordCase{"PercentAboveHundred", onePolicy("Logical_Defaults = 101%:5\n"),
                    "Policy.A, Logical_Defaults -- Invalid size specified:  101%\n" + kSizeList},
        KeywordCase{"NegativeSize", onePolicy("Logical_Defaults = -5:5\n"),
                    "Policy.A, Logical_Defaults -- Invalid size specified:  -5\n" + kSizeList},
        KeywordCase{"UnknownLevel", onePolicy("Logical_Defaults = 100 : 7\n"),
                    "Policy.A, Logical_Defaults -- Invalid RAID level specified:  7\n" + kLevelList},
        KeywordCase{"UnknownWriteCache", onePolicy("Logical_Defaults = 100:5:FAST\n"),
                    "Policy.A, Logical_Defaults -- Invalid write-cache mode specified:  FAST\n"
                    "\tValid values are:  OFF ON AUTO\n"},
        KeywordCase{"CustomWithoutLogicalOne", onePolicy("Logical_Mode = CUSTOM\nLogical.2 = A:100:0\n"),
                    "Policy.A -- Missing required entry in policies file:  Logical.1\n"
                    "\tThis entry is required when Logical_Mode = CUSTOM\n"},
        KeywordCase{"TwoParts", onePolicy("Logical.1 = A:100\n"),
                    "Policy.A, Logical.1 -- Invalid format:  A:100\n"
                    "\tValid format is:  array:size:raidlevel(:writecmode).  Example: A:4096:0:AUTO.\n"},
        KeywordCase{"LetterBeyondI", onePolicy("Logical.1 = J:100:0\n"),
                    "Policy.A, Logical.1 -- Invalid array letter specified:  J\n"},
        KeywordCase{"SimpleVolumeOnlyAsDefault", onePolicy("Logical.1 = A:100:SIMPLE VOLUME\n"),
                    "Policy.A, Logical.1 -- Invalid RAID level specified:  SIMPLE VOLUME\n" + kLevelList},
        KeywordCase{
            "SecondDriveOn5EArray", onePolicy("Logical.1 = A:FILL:5E\nLogical.2 = A:100:0\n"),
            "Policy.A, Logical.2 -- RAID levels 5E and 5EE only permit one logical drive per array.\n"},
        KeywordCase{"NumberSkipped", onePolicy("Logical.1 = A:100:0\nLogical.3 = B:100:0\n"), kLogicalOrder},
        KeywordCase{"NinthAfterEight", onePolicy(logicalLines(8) + "Logical.9 = I:100:0\n"), kLogicalOrder}),
    [](const auto& info) { return std::string(info.param.label); });

// A size, count or drive whose text reads beyond the 32-bit range gets the keyword's message for any
// other invalid value; held to the range it would pass as a different, valid value.
INSTANTIATE_TEST_SUITE_P(
    BeyondThirtyTwoBits, KeywordErrors,
    ::testing::Values(
        KeywordCase{"LogicalSizeInMegabytes", onePolicy("Logical.1 = A:4294967296:5\n"),
                    "Policy.A, Logical.1 -- Invalid size specified:  4294967296\n" + kSizeList},
        KeywordCase{"DefaultSizeJustPastTheRange", onePolicy("Logical_Defaults = 2147483648:5\n"),
                    "Policy.A, Logical_Defaults -- Invalid size specified:  2147483648\n" + kSizeList},
        KeywordCase{"DriveCount", onePolicy("AppliesTo.2 = d:4294967297\n"),
                    "Policy.A, AppliesTo.2 -- Invalid number of drives specified:  d:4294967297\n"},
        KeywordCase{"ControllerNumberBelowTheRange", "[Policy.A]\nAppliesTo.1 = c:-2147483649\n",
                    "Policy.A, AppliesTo.1 -- Invalid controller number specified:  c:-2147483649\n"},
        KeywordCase{"HotSpareCount", onePolicy("Array_Defaults = 5%:99999999999\n"),
                    "Policy.A, Array_Defaults -- Invalid specifier:  99999999999\n" + kHotSpareCountList},
        KeywordCase{"PlannedDriveCount", onePolicy("Array.A = #4294967299\n"),
                    "Policy.A, Array.A -- Invalid format:  #4294967299\n"},
        KeywordCase{"MaxLogicalDriveSize", onePolicy("Array.A = AUTO\nMax_Logical_Drive_Size = 8589934592\n"),
                    "Policy.A, Max_Logical_Drive_Size -- Invalid size specified:  8589934592\n"},
        KeywordCase{"ArrayDriveNumber", custom("Array.A = 1, 4294967297\n"),
                    "Policy.A, Array.A -- Invalid format:  1, 4294967297\n"},
        KeywordCase{"ArrayChannel", custom("Array.A = 4294967297:0\n"),
                    "Policy.A, Array.A -- Invalid format:  4294967297:0\n"},
        KeywordCase{"HotSpareId", onePolicy("Hotspares = 1:4294967296\n"),
                    "Policy.A, Hotspares -- Invalid format:  1:4294967296\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PolicyFileTest, PolicyWithOnlyAppliesToKeepsEveryDefault) {
    ASSERT_TRUE(readPolicies(onePolicy(""))) << out;
    const Policy& read = policy(0);
    EXPECT_EQ(read.name, "Policy.A");
    EXPECT_EQ(read.arrayDefaultVariance, 1);
    EXPECT_EQ(read.arrayDefaultHotSpares, -25);
    EXPECT_EQ(read.arrayMode, Policy::kModeAuto);
    EXPECT_EQ(read.logicalMode, Policy::kModeAuto);
    EXPECT_EQ(read.init, Policy::kInitQuick);
    EXPECT_TRUE(read.rebuildRate.IsEmpty() && read.readAhead.IsEmpty() && read.stripeSize.IsEmpty());
    EXPECT_EQ(read.arrayCount() + read.hotSpareCount() + read.logicalDriveCount(), 0);
    EXPECT_EQ(read.logicalDefaults(), nullptr);
    EXPECT_EQ(read.maxLogicalDriveSize, -1);
    EXPECT_FALSE(read.markedForPlanning);
}

TEST_F(PolicyFileTest, AppliesToEntriesTakeTheirItemsInOrder) {
    ASSERT_TRUE(readPolicies("[Policy.A]\n"
                             "AppliesTo.1 = m:8837, s: SN1 ,o:2, t:vaultix-s3, d:4, c:1, c:3\n"
                             "AppliesTo.3 =\n"
                             "AppliesTo.4 = all, t:Vaultix controller\n"
                             "AppliesTo.5 = t:Vaultix-R1\n"))
        << out;
    const Policy& read = policy(0);
    ASSERT_EQ(read.appliesToCount(), 4);
    const AppliesToEntry& first = *read.appliesToAt(0);
    EXPECT_EQ(first.machineType, "8837");
    EXPECT_EQ(first.serialNumber, " SN1");
    EXPECT_EQ(first.scanOrder, 2);
    EXPECT_EQ(first.controllerType, "vaultix-s3");
    EXPECT_EQ(first.driveCount, 4);
    EXPECT_EQ(first.controllerNumber, 3) << "a later item of the same kind wins";
    EXPECT_FALSE(first.all);
    const AppliesToEntry& empty = *read.appliesToAt(1);
    EXPECT_TRUE(empty.machineType.IsEmpty() && empty.controllerType.IsEmpty());
    EXPECT_EQ(empty.controllerNumber, -25);
    EXPECT_EQ(empty.scanOrder, -25);
    EXPECT_EQ(empty.driveCount, -25);
    EXPECT_TRUE(read.appliesToAt(2)->all);
    // Every model name of the catalogue is a controller type, not only the original sixteen.
    EXPECT_EQ(read.appliesToAt(2)->controllerType, "Vaultix controller");
    EXPECT_EQ(read.appliesToAt(3)->controllerType, "Vaultix-R1");
}

TEST_F(PolicyFileTest, FixedValuesAreStoredAsWrittenOrAsCodes) {
    ASSERT_TRUE(readPolicies(onePolicy("RebuildRate = high\nReadAhead = Adaptive\nStripeSize = 4096\n"
                                       "Array_Mode = custom\nArray.A = all\nLogical_Mode = CUSTOM\n"
                                       "Logical.1 = A:FILL:5\nInit = Build\nArray_Defaults = 5%:0\n")))
        << out;
    const Policy& read = policy(0);
    EXPECT_EQ(read.rebuildRate, "high");
    EXPECT_EQ(read.readAhead, "Adaptive");
    EXPECT_EQ(read.stripeSize, "4096");
    EXPECT_EQ(read.arrayMode, Policy::kModeCustom);
    EXPECT_EQ(read.logicalMode, Policy::kModeCustom);
    EXPECT_EQ(read.init, Policy::kInitBuild);
    EXPECT_EQ(read.arrayDefaultVariance, 5);
    EXPECT_EQ(read.arrayDefaultHotSpares, 0);
}

TEST_F(PolicyFileTest, AutoArraysGiveDriveCountsForPlanning) {
    ASSERT_TRUE(readPolicies(onePolicy("Array.A = #3\nArray.B = AUTO\nArray.C = ##12x\n"
                                       "Array.E = #9\nMax_Logical_Drive_Size = 2048\n")))
        << out;
    const Policy& read = policy(0);
    EXPECT_TRUE(read.markedForPlanning);
    EXPECT_EQ(read.maxLogicalDriveSize, 2048);
    EXPECT_NE(out.find("DEBUG:plyreadr:readArrays:MaxLogical=2048\n"), std::string::npos);
    ASSERT_EQ(read.arrayCount(), 3) << "the list ends at the first absent letter";
    EXPECT_EQ(*read.arrayAt(0)->driveNumbers.at(0), 3);
    EXPECT_EQ(*read.arrayAt(1)->driveNumbers.at(0), 0);
    EXPECT_EQ(*read.arrayAt(2)->driveNumbers.at(0), 12);
    EXPECT_EQ(read.arrayAt(0)->driveNumbers.size(), 1);

    ASSERT_TRUE(readPolicies(onePolicy("Max_Logical_Drive_Size = 2048\n"))) << out;
    EXPECT_FALSE(policy(0).markedForPlanning);
    EXPECT_EQ(policy(0).maxLogicalDriveSize, -1) << "read only with arrays to plan";
    EXPECT_EQ(out.find("DEBUG"), std::string::npos);
}

TEST_F(PolicyFileTest, CustomArraysListTheirDrives) {
    ASSERT_TRUE(readPolicies(custom("Array.A = 1:0,1:1, 0:2\nArray.B =\nArray.C = 3, 4\nArray.D = All\n"
                                    "Max_Logical_Drive_Size = 100\n")))
        << out;
    const Policy& read = policy(0);
    EXPECT_FALSE(read.markedForPlanning);
    EXPECT_EQ(read.maxLogicalDriveSize, -1);
    ASSERT_EQ(read.arrayCount(), 3) << "an empty entry makes no array";
    const RaidArray& first = *read.arrayAt(0);
    ASSERT_EQ(first.members.size(), 3);
    EXPECT_EQ(first.members.at(2)->channel, 0);
    EXPECT_EQ(first.members.at(2)->id, 2);
    EXPECT_TRUE(first.driveNumbers.empty());
    const RaidArray& second = *read.arrayAt(1);
    ASSERT_EQ(second.driveNumbers.size(), 2);
    EXPECT_EQ(*second.driveNumbers.at(1), 4);
    EXPECT_TRUE(read.arrayAt(2)->takesAll);
    EXPECT_FALSE(second.takesAll);
}

TEST_F(PolicyFileTest, HotSparesByPairOrDriveNumber) {
    ASSERT_TRUE(readPolicies(onePolicy("Hotspares = 1:5, 1:40\n"))) << out;
    ASSERT_EQ(policy(0).hotSpareCount(), 2);
    EXPECT_EQ(policy(0).hotSpareAt(0)->id(), 5);
    EXPECT_EQ(policy(0).hotSpareAt(1)->channel(), 1);
    EXPECT_EQ(policy(0).hotSpareAt(1)->id(), -1) << "an ID outside 0..31 is not taken";
    EXPECT_EQ(policy(0).hotSpareAt(1)->driveNumber(), -1);

    ASSERT_TRUE(readPolicies(onePolicy("Hotspares = 4, 7\n"))) << out;
    EXPECT_EQ(policy(0).hotSpareAt(1)->driveNumber(), 7);
    EXPECT_EQ(policy(0).hotSpareAt(1)->channel(), -1);

    ASSERT_TRUE(readPolicies(onePolicy("Hotspares =\n"))) << out;
    EXPECT_EQ(policy(0).hotSpareCount(), 0);
    ASSERT_TRUE(readPolicies(onePolicy("Hotspares = " + numberedList(16, "") + "\n"))) << out;
    EXPECT_EQ(policy(0).hotSpareCount(), 16);
}

TEST_F(PolicyFileTest, LogicalDrivesTakeSizeLevelAndWriteCache) {
    ASSERT_TRUE(
        readPolicies(onePolicy("Logical_Defaults = 50%:5\nLogical.1 = a : FILL : 5E\n"
                               "Logical.2 = B:100:0:off\nLogical.3 = I:25%:auto\nLogical.4 = B:7:1E:On\n")))
        << out;
    const Policy& read = policy(0);
    ASSERT_NE(read.logicalDefaults(), nullptr);
    EXPECT_EQ(read.logicalDefaults()->size, -50);
    EXPECT_EQ(read.logicalDefaults()->raidLevel, kRaid5);
    EXPECT_EQ(read.logicalDefaults()->writeCache, kWriteCacheAuto);
    EXPECT_EQ(read.logicalDefaults()->arrayIndex, -1);
    ASSERT_EQ(read.logicalDriveCount(), 4);
    EXPECT_EQ(read.logicalDriveAt(0)->arrayIndex, 0);
    EXPECT_EQ(read.logicalDriveAt(0)->size, kSizeFill);
    EXPECT_EQ(read.logicalDriveAt(0)->raidLevel, kRaid5E);
    EXPECT_EQ(read.logicalDriveAt(1)->writeCache, kWriteCacheOff);
    EXPECT_EQ(read.logicalDriveAt(2)->arrayIndex, 8);
    EXPECT_EQ(read.logicalDriveAt(2)->size, -25);
    EXPECT_EQ(read.logicalDriveAt(2)->raidLevel, kRaidAuto);
    EXPECT_EQ(read.logicalDriveAt(3)->raidLevel, kRaid1E);

    ASSERT_TRUE(readPolicies(onePolicy("Logical_Defaults = FILL:1E:on\n"))) << out;
    EXPECT_EQ(policy(0).logicalDefaults()->writeCache, kWriteCacheOn);
    ASSERT_TRUE(readPolicies(onePolicy("Logical_Defaults = 100:simple volume\n"))) << out;
    EXPECT_EQ(policy(0).logicalDefaults()->raidLevel, kRaidSimpleVolume);
    ASSERT_TRUE(readPolicies(onePolicy(logicalLines(8)))) << out;
    EXPECT_EQ(policy(0).logicalDriveCount(), 8);
}

TEST_F(PolicyFileTest, FailingPolicyIsDroppedAndEarlierOnesStay) {
    EXPECT_FALSE(
        readPolicies("[Policy.Good]\nAppliesTo.1 = ALL\n[Policy.Bad]\nAppliesTo.1 = ALL\nInit = NOW\n"));
    ASSERT_EQ(reader->policyList().size(), 1);
    EXPECT_EQ(reader->policyList().at(0)->name, "Policy.Good");
}

} // namespace
