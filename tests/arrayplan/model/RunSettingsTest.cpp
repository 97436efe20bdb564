#include "arrayplan/model/RunSettings.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

namespace {

TEST(RunSettings, MessageForms) {
    RunSettings settings;
    ConsoleCapture capture;
    settings.printLeveled("five\n", 5);
    settings.printLeveled("six\n", 6);
    settings.reportError("Policy.A -- bad\n");
    settings.printErrorForm("Error opening input policy file.\n");
    settings.printPlain("100% done\n");
    settings.debugTrace(70, "hidden");
    settings.debug = true;
    settings.debugTrace(70, "shown");
    EXPECT_EQ(capture.Out(), "five\n"
                             "\n#### ERROR\n\tPolicy.A -- bad\n"
                             "##ERROR\n   Error opening input policy file.\n"
                             "100% done\n"
                             "70:shown\n");
}

} // namespace
