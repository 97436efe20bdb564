// Reads policy files written into a temporary folder, with the console captured.
#pragma once

#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyReader.h"
#include "tests/support/ConsoleCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class PolicyFileTest : public ::testing::Test {
protected:
    // Writes text as the policy file and reads it; the console output is kept in out.
    bool readPolicies(const std::string& text, bool lenient = false);
    // A reader of a file that does not exist.
    bool readMissingFile(bool lenient);

    // The message of the last error report in out ("" when there is none).
    std::string lastReport() const;
    const Policy& policy(int index) const;

    TempDir dir;
    RunSettings settings;
    std::unique_ptr<PolicyReader> reader;
    std::string out;
};

// A one-policy file: the policy "Policy.A" applying to every controller, followed by lines.
std::string onePolicy(const std::string& lines);
