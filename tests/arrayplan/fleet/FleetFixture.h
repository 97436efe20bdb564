// Generated fleets for the fleet check's tests: inventories of one controller whose machine type picks a
// policy of one policy file, so that the inventories of one fleet end with every result code a single run
// of them can give.
#pragma once

#include "support/TempDir.h"

#include <string>
#include <vector>

// One kind of inventory and the code its single run ends with.
struct FleetScenario {
    const char* name;
    int code;
};

// Every scenario, one per reachable code (two that pass).
const std::vector<FleetScenario>& fleetScenarios();

// The policy file that the scenarios' machine types select from.
std::string fleetPolicyText();

// The inventory of scenario name; variant varies its drives (count and sizes) without changing its code.
std::string scenarioInventory(const std::string& name, int variant);

// A fleet in a folder of its own: the policy file, a copy of the support files (one of them with a level
// limit lowered, for code 8) and the inventories, each written with writeInventory.
class FleetFolder {
public:
    FleetFolder();

    // Writes the inventory of scenario under the fleet folder at relative; returns its path.
    std::string writeInventory(const std::string& relative, const std::string& scenario, int variant);
    // A link at relative to a file that does not exist: an inventory that cannot be opened.
    std::string writeDeadLink(const std::string& relative);
    // Makes a folder where a run would write the output at outputRelative under outputFolder, so that the
    // run cannot open it.
    void blockOutput(const std::string& outputFolder, const std::string& outputRelative);

    std::string fleet() const { return dir_ / "fleet"; }
    std::string policies() const { return dir_ / "policies.ini"; }
    std::string raid() const { return dir_ / "raid/"; }
    std::string path(const std::string& relative) const { return dir_ / relative; }

private:
    TempDir dir_;
};

// The command line of arrayplan for a fleet check of folder; outdir and jobs only when not empty.
std::vector<std::string> fleetArguments(const FleetFolder& folder, const std::string& report,
                                        const std::string& outdir, const std::string& jobs);

struct RunOutput {
    int status = -1;
    std::string out;
};

// Runs arrayplan in this process with arguments (the program name first), on a console of its own.
RunOutput runArrayplan(const std::vector<std::string>& arguments);
