// Controllers, policies and support files for the configuration tests, built from short literals.
#pragma once

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyReader.h"
#include "support/TempDir.h"

#include <initializer_list>
#include <memory>
#include <string>

// A controller of type and variant with drives of the given sizes on channel, from ID 0 on.
std::unique_ptr<RaidController> controllerWith(int type, int variant, std::initializer_list<int> sizes,
                                               int channel = 1);
// n drives of 70000 MB on channel 1.
std::unique_ptr<RaidController> controllerWithDrives(int type, int variant, int n);

// Settings of a run whose support files are in dir, with the inventory's system facts.
class ConfigFixture {
public:
    ConfigFixture();

    // Reads text as a policy file; the policies stay with the fixture. Fails the test on a read error.
    const PolicyList& readPolicies(const std::string& text);
    const Policy& policy(int index = 0) const { return *reader_->policyList().at(index); }
    // A support file "<model>.ini" in the fixture's folder.
    void writeSupportFile(const std::string& model, const std::string& text);

    TempDir dir;
    RunSettings settings;

private:
    std::unique_ptr<PolicyReader> reader_;
};

// The text after the last "#### ERROR\n\t" of out; empty when there is none.
std::string lastErrorReport(const std::string& out);
