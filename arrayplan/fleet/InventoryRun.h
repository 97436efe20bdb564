// One inventory of a fleet check, run as a single run of arrayplan would run it, on a console of its own
// whose messages are dropped, with the fleet's shared policy file and support files.
#pragma once

#include "arrayplan/fleet/FleetReport.h"
#include "arrayplan/fleet/OrderedWork.h"
#include "arrayplan/frontend/ARRAYPLANSupport.h"

class FileSystem;

struct FleetInputs {
    CommandLine line;    // the fleet's command line: its policy file, support folder and output folder
    SharedInputs shared; // the policy file and support files read once
};

// Where the run of an inventory at relative in the fleet folder writes its output inventory and output
// policy: in a folder named after the inventory under the output folder ("rack1/srv.ini":
// "rack1/srv/inventory.ini" and "rack1/srv/policies.ini").
CString outputInventoryPath(const CString& outputDirectory, const std::string& relative);
CString outputPolicyPath(const CString& outputDirectory, const std::string& relative);

InventoryOutcome runInventory(FileSystem& fileSystem, const FleetInputs& inputs, const WorkItem& item);
