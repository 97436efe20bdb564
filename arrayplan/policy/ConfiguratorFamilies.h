// The seven controller families of the configurators, chosen by ControllerType code: A for type 1;
// B for 2, 7 and 11; C for 3, 8 and 9; D for 4; E for 5 and 10; F for 6; G for 12.
#pragma once

#include "arrayplan/policy/ControllerConfigurator.h"

#include <memory>

enum ConfiguratorFamily : int { kFamilyA, kFamilyB, kFamilyC, kFamilyD, kFamilyE, kFamilyF, kFamilyG };

// The family of a controller type; -1 for a type outside 1..12.
int configuratorFamily(int controllerType);

// The configurator of the controller's family; null for a type outside 1..12.
std::unique_ptr<ControllerConfigurator> makeConfigurator(RunSettings& settings, RaidController& controller,
                                                         const Policy& policy);
