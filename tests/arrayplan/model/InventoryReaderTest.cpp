#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/model/RunSettings.h"
#include "foundation/IniFile.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::string controllerSection(int c, const std::string& model, const std::string& physicals) {
    return "[RAIDController." + std::to_string(c) + "]\nModel = " + model + "\n[RAIDController." +
           std::to_string(c) + ".Physical]\n" + physicals;
}

struct Loaded {
    bool ok = false;
    int code = -1;
    std::string out;
};

Loaded load(const std::string& content, ControllerList& list, RunSettings& settings) {
    TempDir dir;
    std::string path = dir.Write("inventory.ini", content);
    ConsoleCapture capture;
    Loaded result;
    ResultCode code = loadInventory(settings, CString(path.c_str()), list);
    result.ok = code == ResultCode::Success;
    result.code = codeNumber(code);
    result.out = capture.Out();
    return result;
}

Loaded load(const std::string& content) {
    ControllerList list;
    RunSettings settings;
    return load(content, list, settings);
}

TEST(InventoryReader, ReadsSystemControllersDrivesAndScanOrders) {
    std::string content =
        "[System]\nMachine_Type = 8837\nSerial_Number = KQ4711X\nTotal_Number_Of_Controllers = 3\n" +
        controllerSection(1, "vaultix-q4",
                          "Total_Number_Of_Physicals = 3\n"
                          "Channel.1 = 1\nID.1 = 0\nSize.1 = 70007\nType.1 = SCSI\n"
                          "Channel.2 = 0\nID.2 = 7\nSize.2 = 1000\n"
                          "Channel.3 = 2\nID.3 = 31\nSize.3 = 0\n") +
        controllerSection(2, "Vaultix controller", "") + controllerSection(3, "VAULTIX-S1", "") +
        "[RAIDController.1]\nBIOSVersion = ignored: only the first section counts\n";
    ControllerList list;
    RunSettings settings;
    Loaded result = load(content, list, settings);
    ASSERT_TRUE(result.ok) << result.out;
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(settings.machineType.Str(), "8837");
    EXPECT_EQ(settings.serialNumber.Str(), "KQ4711X");
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.count(), 3);

    RaidController& first = *list.at(0);
    EXPECT_EQ(first.type(), 1);
    EXPECT_EQ(first.variant(), 4);
    EXPECT_EQ(first.driveCount(), 2);
    EXPECT_EQ(first.drive(1, 0)->type, "SCSI");
    EXPECT_EQ(first.driveSize(0, 7), 1000);
    EXPECT_EQ(first.driveSize(2, 31), 0);

    EXPECT_EQ(list.at(1)->type(), 1);
    EXPECT_EQ(list.at(1)->variant(), -1);
    EXPECT_EQ(list.at(2)->type(), 7);
    EXPECT_EQ(list.at(2)->variant(), 7);
    // Two controllers of one scan group, then one of another.
    EXPECT_EQ(list.at(0)->scanOrder(), 1);
    EXPECT_EQ(list.at(1)->scanOrder(), 2);
    EXPECT_EQ(list.at(2)->scanOrder(), 1);
}

TEST(InventoryReader, FailuresWithTheirCodes) {
    const std::string system = "[System]\nTotal_Number_Of_Controllers = 2\n";
    const std::string good = controllerSection(1, "Vaultix-Q1", "");

    Loaded none = load("[System]\nTotal_Number_Of_Controllers = 0\n");
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.code, 3);
    EXPECT_EQ(none.out, "##ERROR\n   No Controllers Found in Inventory File");

    Loaded unknown = load(system + good + controllerSection(2, "Vaultix-Q9", ""));
    EXPECT_EQ(unknown.code, 3);
    Loaded empty = load(system + good + controllerSection(2, "", ""));
    EXPECT_EQ(empty.code, 2);
    Loaded absent = load(system + good);
    EXPECT_EQ(absent.code, 2) << "a controller counted but not described";
    Loaded negativeChannel =
        load(system + good +
             controllerSection(2, "Vaultix-Q1", "Total_Number_Of_Physicals = 1\nID.1 = 0\nSize.1 = 1\n"));
    EXPECT_EQ(negativeChannel.code, 2);
    EXPECT_FALSE(negativeChannel.ok);
    EXPECT_EQ(negativeChannel.out, "");
    // A drive without its size fails like one without its channel: no line of its own before the run's.
    for (const char* size : {"", "Size.1 =\n"}) {
        Loaded noSize = load(system + good +
                             controllerSection(2, "Vaultix-Q1",
                                               std::string("Total_Number_Of_Physicals = 1\nChannel.1 = 1\n"
                                                           "ID.1 = 0\n") +
                                                   size));
        EXPECT_FALSE(noSize.ok) << size;
        EXPECT_EQ(noSize.code, 2) << size;
        EXPECT_EQ(noSize.out, "") << size;
    }
}

// A drive size is read as the C library's atol reads it: leading blanks, a sign, trailing text.
TEST(InventoryReader, DriveSizeIsReadAsAtolReadsIt) {
    const std::pair<const char*, int> cases[] = {
        {"73000MB", 73000}, {"+73000", 73000},          {"\v 73000", 73000}, {"73000 MB", 73000},
        {"GB", 0},          {"2147483647", 2147483647}, {"-0", 0},
    };
    for (const auto& [text, size] : cases) {
        ControllerList list;
        RunSettings settings;
        Loaded result =
            load("[System]\nTotal_Number_Of_Controllers = 1\n" +
                     controllerSection(1, "Vaultix-Q1",
                                       std::string("Total_Number_Of_Physicals = 1\nChannel.1 = 1\n"
                                                   "ID.1 = 0\nSize.1 = ") +
                                           text + "\n"),
                 list, settings);
        ASSERT_TRUE(result.ok) << text << ": " << result.out;
        EXPECT_EQ(list.at(0)->driveSize(1, 0), size) << text;
    }
}

TEST(InventoryReader, ByteOrderMarkIsSkipped) {
    ControllerList list;
    RunSettings settings;
    Loaded result = load("\xEF\xBB\xBF[System]\nMachine_Type = 8837\nTotal_Number_Of_Controllers = 1\n" +
                             controllerSection(1, "Vaultix-Q1", ""),
                         list, settings);
    ASSERT_TRUE(result.ok) << result.out;
    EXPECT_EQ(settings.machineType.Str(), "8837");
}

// An endless line (/ini:/dev/zero) is read to a bound, then refused; never taken for an empty inventory.
TEST(InventoryReader, FileBeyondTheReadingBoundIsRefused) {
    Loaded result = load(std::string(IniFile::kMaxLineLength + 1, 'x'));
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.out.find("inventory.ini: line 1 is longer than 65536 characters\n"), std::string::npos)
        << result.out;
}

TEST(InventoryReader, MissingFile) {
    ControllerList list;
    RunSettings settings;
    ConsoleCapture capture;
    EXPECT_EQ(loadInventory(settings, "/nonexistent/inventory.ini", list), ResultCode::InventoryUnparsable);
    EXPECT_EQ(capture.Out(), "/nonexistent/inventory.ini doesn't exists\n");
}

struct BoundCase {
    const char* physicals;
    const char* message;
};

class InventoryBounds : public testing::TestWithParam<BoundCase> {};

TEST_P(InventoryBounds, AreRefusedWithAClearMessageAndCode2) {
    Loaded result =
        load("[System]\nTotal_Number_Of_Controllers = 1\n" +
             controllerSection(1, "Vaultix-Q1",
                               std::string("Total_Number_Of_Physicals = 1\n") + GetParam().physicals));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out,
              std::string("##ERROR\n   RAIDController.1.Physical, drive 1: ") + GetParam().message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Drives, InventoryBounds,
    testing::Values(BoundCase{"Channel.1 = 5\nID.1 = 0\nSize.1 = 1\n", "channel 5 is outside 0..4"},
                    BoundCase{"Channel.1 = 1\nID.1 = 32\nSize.1 = 1\n", "ID 32 is outside 0..31"},
                    BoundCase{"Channel.1 = 1\nID.1 = -3\nSize.1 = 1\n", "ID -3 is outside 0..31"},
                    BoundCase{"Channel.1 = 1\nSize.1 = 1\n", "no ID"},
                    BoundCase{"Channel.1 = 1\nID.1 = 0\nSize.1 = -5\n",
                              "size \"-5\" is not a whole number of MB"},
                    BoundCase{"Channel.1 = 1\nID.1 = 0\nSize.1 = 4294967296\n",
                              "size \"4294967296\" is not a whole number of MB"}));

TEST(InventoryReader, AtMostTwentySixControllers) {
    std::string content = "[System]\nTotal_Number_Of_Controllers = 27\n";
    for (int c = 1; c <= 27; ++c)
        content += controllerSection(c, "Vaultix-Q1", "");
    Loaded result = load(content);
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out,
              "##ERROR\n   Total_Number_Of_Controllers is 27; at most 26 controllers are supported\n");

    content.replace(content.find("= 27"), 4, "= 26");
    EXPECT_TRUE(load(content).ok);
}

} // namespace
