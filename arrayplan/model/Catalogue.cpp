#include "arrayplan/model/Catalogue.h"
#include "foundation/TextCase.h"

#include <cstring>
#include <iterator>
#include <string>

namespace {

constexpr int kAnyVariant = -2; // the row for every variant not listed before it

struct ModelRow {
    int type;
    int variant;
    const char* name;
};

// (type, variant) -> name; the first row of the type that fits wins.
const ModelRow kModelNames[] = {
    {1, 1, "Vaultix-Q1"},
    {1, 2, "Vaultix-Q2"},
    {1, 3, "Vaultix-Q3"},
    {1, 4, "Vaultix-Q4"},
    {1, 5, "Vaultix-Q5"},
    {1, 6, "Vaultix-Q6"},
    {1, 7, "Vaultix-Q7"},
    {1, kAnyVariant, "Vaultix controller"},
    {2, kAnyVariant, "Vaultix-R1"},
    {3, kAnyVariant, "Vaultix-R2-SATA"},
    {4, kAnyVariant, "Vaultix-R2-SCSI"},
    {5, kAnyVariant, "Corvane-SCSI-RAID"},
    {6, kAnyVariant, "Corvane-PATA-RAID"},
    {7, 1, "Vaultix-S4"},
    {7, kAnyVariant, "Vaultix-S1"},
    {8, kAnyVariant, "Vaultix-S2-SAS"},
    {9, kAnyVariant, "Vaultix-S2-SATA"},
    {10, 1, "Corvane-SAS-Basic"},
    {10, kAnyVariant, "Corvane-SAS-RAID"},
    {11, 1, "Vaultix-S3-e"},
    {11, 2, "Vaultix-S3"},
    {11, kAnyVariant, "Vaultix controller"},
    {12, 1, "Vaultix-M3"},
    {12, 2, "Vaultix-M1"},
    {12, 3, "Vaultix-M2"},
    {12, kAnyVariant, "Corvane-Multi-RAID"},
};

// name -> (type, variant), in the order names are looked up.
const ModelRow kNameLookup[] = {
    {1, 1, "Vaultix-Q1"},         {1, 2, "Vaultix-Q2"},          {1, 3, "Vaultix-Q3"},
    {1, 4, "Vaultix-Q4"},         {1, 5, "Vaultix-Q5"},          {1, 6, "Vaultix-Q6"},
    {1, 7, "Vaultix-Q7"},         {1, -1, "Vaultix controller"}, {2, -1, "Vaultix-R1"},
    {3, -1, "Vaultix-R2-SATA"},   {4, -1, "Vaultix-R2-SCSI"},    {5, -1, "Corvane-SCSI-RAID"},
    {6, -1, "Corvane-PATA-RAID"}, {7, 7, "Vaultix-S1"},          {8, -1, "Vaultix-S2-SAS"},
    {9, -1, "Vaultix-S2-SATA"},   {10, -1, "Corvane-SAS-RAID"},  {11, 1, "Vaultix-S3-e"},
    {11, 2, "Vaultix-S3"},        {7, 1, "Vaultix-S4"},          {12, 2, "Vaultix-M1"},
    {12, 3, "Vaultix-M2"},        {12, 1, "Vaultix-M3"},         {12, 12, "Corvane-Multi-RAID"},
    {10, 1, "Corvane-SAS-Basic"},
};

struct TypeRow {
    int type;
    const char* utility;
    bool partialSizing;
    const char* driveInterface;
    bool singleArray; // one array when the configurator forms them
};

const TypeRow kTypes[] = {
    {1, "UTIL.BAT RXSETUP", true, "SCSI", false}, {2, "UTIL.BAT MIRRCTL", true, "SATA", false},
    {3, "UTIL.BAT ZONECFG", false, "SATA", true}, {4, "UTIL.BAT ZONECFG", false, "SCSI", true},
    {5, "UTIL.BAT SASWIZ", false, "SCSI", true},  {6, "UTIL.BAT STORGUI", false, "IDE", false},
    {7, "UTIL.BAT MIRRCTL", true, "SAS", false},  {8, "UTIL.BAT ZONECFG", false, "SAS", true},
    {9, "UTIL.BAT ZONECFG", false, "SATA", true}, {10, "UTIL.BAT SASWIZ", true, "SAS", true},
    {11, "UTIL.BAT MIRRCTL", true, "SAS", false}, {12, "UTIL.BAT BULKCTL", true, "", false},
};

// The types whose utility command names a scan group, in the order they are compared.
const int kGroupTypes[] = {1, 5, 6, 12, 7, 4};
constexpr int kGroupOfUnknownUtility = 6;

bool sameName(const char* a, const char* b) {
    return a && EqualsNoCase(a, b);
}

const ModelRow* findName(const char* name) {
    for (const ModelRow& row : kNameLookup) {
        if (sameName(name, row.name))
            return &row;
    }
    return nullptr;
}

const TypeRow* findType(int type) {
    for (const TypeRow& row : kTypes) {
        if (row.type == type)
            return &row;
    }
    return nullptr;
}

} // namespace

const char* modelName(int type, int variant) {
    for (const ModelRow& row : kModelNames) {
        if (row.type == type && (row.variant == variant || row.variant == kAnyVariant))
            return row.name;
    }
    return "ERROR-NO-CONTROLLER";
}

int controllerTypeOf(const char* name) {
    const ModelRow* row = findName(name);
    return row ? row->type : -1;
}

int variantOf(const char* name) {
    const ModelRow* row = findName(name);
    return row ? row->variant : -1;
}

bool isCatalogueModelName(const char* name) {
    return findName(name) != nullptr;
}

const char* utilityCommand(int type) {
    const TypeRow* row = findType(type);
    return row ? row->utility : "";
}

int scanGroup(int type) {
    const char* utility = utilityCommand(type);
    for (int groupType : kGroupTypes) {
        if (std::strcmp(utility, utilityCommand(groupType)) == 0)
            return groupType;
    }
    return kGroupOfUnknownUtility;
}

bool takesSingleArray(int type) {
    const TypeRow* row = findType(type);
    return row != nullptr && row->singleArray;
}

bool allowsPartialSizing(int type) {
    const TypeRow* row = findType(type);
    return row && row->partialSizing;
}

const char* defaultDriveInterface(int type) {
    const TypeRow* row = findType(type);
    return row ? row->driveInterface : "";
}
