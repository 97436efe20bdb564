// The fixed knowledge about the supported controller models: ControllerType codes 1..12 with their
// variants and model names, utility commands, scan groups, partial sizing and drive interfaces.
// Names compare ignoring letter case.
#pragma once

#include "arrayplan/model/RaidEnums.h" // the level and stripe text rules belong to the catalogue too

enum ControllerType : int { kFirstControllerType = 1, kLastControllerType = 12 };

// "Vaultix-Q4" for (1, 4), "Vaultix controller" for type 1 with an unlisted variant,
// "ERROR-NO-CONTROLLER" for a type outside 1..12.
const char* modelName(int type, int variant);
int controllerTypeOf(const char* name); // -1 when the name is not a catalogue model
int variantOf(const char* name);        // -1 for names without a variant

// A model name of the catalogue (any of the 25); the written form is modelName(type, variant).
bool isCatalogueModelName(const char* name);

const char* utilityCommand(int type); // empty outside 1..12
// Controllers sharing a utility share a group; scan orders are numbered 1, 2, ... within a group.
int scanGroup(int type);
bool takesSingleArray(int type);             // one array when the configurator forms them
bool allowsPartialSizing(int type);          // logical drives smaller than their array
const char* defaultDriveInterface(int type); // written for a drive without its own type text
