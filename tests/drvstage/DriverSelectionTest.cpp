#include "drvstage/CopySteps.h"

#include "foundation/Console.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SelectionCase {
    const char* driverKeys; // lines of the "Driver Information" section
    const char* machineTypes;
    const char* categories;
    const char* installationModes;
    bool selected;
    const char* reason; // the last reason line printed at level 5
};

class DriverSelection : public testing::TestWithParam<SelectionCase> {};

TEST_P(DriverSelection, FollowsMachineTypeCategoryAndInstallationMode) {
    const SelectionCase& c = GetParam();
    TempDir dir;
    std::string path = dir.Write("DrvInfo.ini", std::string("[Driver Information]\n") + c.driverKeys);
    CopySettings settings;
    settings.machineTypes = c.machineTypes;
    settings.categories = c.categories;
    settings.installationModes = c.installationModes;
    DriverInfoFile driver(path.c_str(), "", "", 0, DriverFileKind::DriverInformation);

    int verbosity = Verbosity();
    SetVerbosity(5);
    ConsoleCapture console;
    bool selected = CopySteps(settings).IsDriverSelected(driver, 5);
    SetVerbosity(verbosity);

    EXPECT_EQ(selected, c.selected);
    std::string expectedEnd = std::string(c.reason) + "\n" + (c.selected ? "" : "\n");
    ASSERT_GE(console.Out().size(), expectedEnd.size()) << console.Out();
    EXPECT_EQ(console.Out().substr(console.Out().size() - expectedEnd.size()), expectedEnd) << console.Out();
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, DriverSelection,
    testing::Values(
        // Without machine types only "None" keeps a driver out.
        SelectionCase{"Supported Systems = none\n", "", "", "", false, "The driver is not supported."},
        SelectionCase{"Unsupported Systems = x\n", "", "", "", true, "The driver is supported."},
        // With machine types the first supported one selects.
        SelectionCase{"Supported Systems = x,y\n", "y,z", "", "", true, "The driver is supported."},
        SelectionCase{"Supported Systems = x\n", "y,z", "", "", false, "The driver is not supported."},
        SelectionCase{"Unsupported Systems = y,z\n", "y,z", "", "", false, "The driver is not supported."},
        SelectionCase{"Supported Systems = y\nUnsupported Systems = z\n", "y", "", "", false,
                      "The driver is not supported."},
        // Categories and installation modes compare ignoring case, items trimmed.
        SelectionCase{"Category = B\n", "", "a, b ", "", true, "The driver category is specified:  B"},
        SelectionCase{"Category = Video\n", "", "a,b", "", false,
                      "The driver category does not match:  Video"},
        SelectionCase{"", "", "a,b", "", false, "The driver category is not specified."},
        SelectionCase{"Category = a\nInstallation Mode = GUI\n", "", "A", "setup,gui", true,
                      "The driver installation mode is specified:  GUI"},
        SelectionCase{"Category = a\n", "", "a", "Setup", false,
                      "The driver installation mode is not specified."},
        SelectionCase{"Installation Mode = Setup\n", "", "", "GUI", false,
                      "The driver installation mode does not match:  Setup"}));

} // namespace
