// The configuration creation pass: each controller of the inventory gets its configuration built by
// the configurator of its family from the policy that applies to it.
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include <memory>
#include <vector>

class ControllerList;
class Policy;
class PolicyList;
class RunSettings;

// By controller position (0-based): the controller's own copy of its applicable policy, planned where
// the policy asked for planning; null for a controller without one.
using ControllerPolicies = std::vector<std::unique_ptr<Policy>>;

class ConfigurationCreator {
public:
    ConfigurationCreator(RunSettings& settings, const PolicyList& policies);

    // Matches each controller again and builds its configuration from its copy in copies, or from the
    // matched policy itself when copies has none for it. A controller without policy stays without
    // configuration. Success, or the code of the first failed build (3 for a controller without
    // configurator, else the builder's 9 or 10).
    ResultCode createConfigurations(ControllerList& controllers, const ControllerPolicies& copies);

private:
    RunSettings& settings_;
    const PolicyList& policies_;
};
