// The "/debug" dump of the policies read.
#include "foundation/Console.h"
#include "tests/arrayplan/policy/PolicyTestSupport.h"

namespace {

TEST_F(PolicyFileTest, DumpShowsEveryFieldAsItsCode) {
    ASSERT_TRUE(readPolicies("[Policy.Bare]\nAppliesTo.1 = ALL\n"
                             "[Policy.Full]\n"
                             "AppliesTo.1 = c:2, m:8837, s:SN9, o:1, t:Vaultix-S3, d:6\n"
                             "AppliesTo.2 = ALL\n"
                             "RebuildRate = low\nReadAhead = ON\nStripeSize = 64\n"
                             "Array_Mode = CUSTOM\nArray_Defaults = 10%:2\n"
                             "Array.A = 1:0, 1:1\nArray.B = 3, 4\nArray.C = ALL\n"
                             "Hotspares = 0:5, 2:7\n"
                             "Logical_Defaults = 50%:5:OFF\n"
                             "Logical.1 = A:FILL:1\nLogical.2 = B:2048:5:ON\nInit = BUILD\n"))
        << out;
    ConsoleCapture capture;
    reader->dumpAllPolicies();
    EXPECT_EQ(capture.Out(), "##### DUMP OF ALL POLICIES ######\n\n"
                             "******** Dump of Policy.Bare ***********\n"
                             "AppliesTo.1 = c:-25 m: s: o:-25 t: d:-25 all:1\n"
                             "RebuildRate     = \n"
                             "ReadAhead       = \n"
                             "StripeSize      = \n"
                             "Max_Logical_Drive_Size      = -1\n"
                             "ArrayMode       = 0\n"
                             "ArrayDefaults:\n"
                             "\tvariance  = 1\n"
                             "\thotspares = -25\n"
                             "Arrays:\n"
                             "Hotspares       = \n"
                             "LogicalMode     = 0\n"
                             "LogicalDefaults not set.\n"
                             "Logicals:\n"
                             "Init   = 0\n"
                             "\n"
                             "******** Dump of Policy.Full ***********\n"
                             "AppliesTo.1 = c:2 m:8837 s:SN9 o:1 t:Vaultix-S3 d:6 all:0\n"
                             "AppliesTo.2 = c:-25 m: s: o:-25 t: d:-25 all:1\n"
                             "RebuildRate     = low\n"
                             "ReadAhead       = ON\n"
                             "StripeSize      = 64\n"
                             "Max_Logical_Drive_Size      = -1\n"
                             "ArrayMode       = 1\n"
                             "ArrayDefaults:\n"
                             "\tvariance  = 10\n"
                             "\thotspares = 2\n"
                             "Arrays:\n"
                             "\tArray.A = 1:0,1:1,\n"
                             "\tArray.B = 3,4,\n"
                             "\tArray.C = \n"
                             // a spare on channel 0 shows its drive number
                             "Hotspares       = -1,2:7,\n"
                             "LogicalMode     = 0\n"
                             "LogicalDefaults = -50:3:0\n"
                             "Logicals:\n"
                             "\tLogical.1 = 0:-101:1:2\n"
                             "\tLogical.2 = 1:2048:3:1\n"
                             "Init   = 1\n"
                             "\n");
}

TEST_F(PolicyFileTest, DumpOfPlannedArraysShowsTheirCounts) {
    ASSERT_TRUE(readPolicies(onePolicy("Array.A = #4\nArray.B = AUTO\nMax_Logical_Drive_Size = 500\n")))
        << out;
    ConsoleCapture capture;
    policy(0).dump(Console::Instance());
    EXPECT_NE(capture.Out().find("Max_Logical_Drive_Size      = 500\n"), std::string::npos);
    EXPECT_NE(capture.Out().find("Arrays:\n\tArray.A = 4,\n\tArray.B = 0,\nHotspares"), std::string::npos);
}

} // namespace
