// The text of the policy generated for one configured controller: its name, its comment header and
// its body, in the policy file syntax, so that the configuration reads back as a hand-written policy.
#pragma once

#include "foundation/CString.h"

#include <string>
#include <vector>

class RaidController;

// What the header and the applicability entry name of the controller's system.
struct GeneratedPolicyFacts {
    CString machineType;
    CString serialNumber;
    CString applicabilityTemplate; // items of the AppliesTo value; empty: "t,d"
    int controllerNumber = 0;      // 1-based position in the inventory
};

// "Policy.AUTO-" + model + "-" + the smallest number from 1 that gives a name not in taken (compared
// ignoring letter case, as the policy reader compares names). A blank of the model is written "_",
// since policy names hold none.
CString generatedPolicyName(const char* modelName, const std::vector<CString>& taken);

// The comment block above a generated policy; date "mm/dd/yyyy" and time "hh:mm:ss" as given.
std::string generatedPolicyHeader(const GeneratedPolicyFacts& facts, const char* modelName, const char* date,
                                  const char* time);

// The value of "AppliesTo.1" from the template's items ("m", "s", "c", "o", "t", "d" or "ALL"); false
// when an item is none of them.
bool applicabilityValue(const GeneratedPolicyFacts& facts, const RaidController& controller,
                        std::string& value);

// The policy's section: name, applicability, the settings the controller type has, the arrays, hot
// spares and logical drives of the controller's configuration with explicit drive numbers.
std::string generatedPolicyBody(const RaidController& controller, const CString& name,
                                const std::string& appliesTo);
