#include "arrayplan/model/Catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include <cctype>
#include <string>

namespace {

struct ModelCase {
    const char* name;
    int type;
    int variant;
};

const ModelCase kModels[] = {
    {"Vaultix-Q1", 1, 1},           {"Vaultix-Q2", 1, 2},          {"Vaultix-Q3", 1, 3},
    {"Vaultix-Q4", 1, 4},           {"Vaultix-Q5", 1, 5},          {"Vaultix-Q6", 1, 6},
    {"Vaultix-Q7", 1, 7},           {"Vaultix controller", 1, -1}, {"Vaultix-R1", 2, -1},
    {"Vaultix-R2-SATA", 3, -1},     {"Vaultix-R2-SCSI", 4, -1},    {"Corvane-SCSI-RAID", 5, -1},
    {"Corvane-PATA-RAID", 6, -1},   {"Vaultix-S1", 7, 7},          {"Vaultix-S4", 7, 1},
    {"Vaultix-S2-SAS", 8, -1},      {"Vaultix-S2-SATA", 9, -1},    {"Corvane-SAS-RAID", 10, -1},
    {"Corvane-SAS-Basic", 10, 1},   {"Vaultix-S3-e", 11, 1},       {"Vaultix-S3", 11, 2},
    {"Vaultix-M3", 12, 1},          {"Vaultix-M1", 12, 2},         {"Vaultix-M2", 12, 3},
    {"Corvane-Multi-RAID", 12, 12},
};

class CatalogueModel : public testing::TestWithParam<ModelCase> {};

TEST_P(CatalogueModel, NameMapsToTypeAndVariantAndBack) {
    const ModelCase& model = GetParam();
    EXPECT_EQ(controllerTypeOf(model.name), model.type);
    EXPECT_EQ(variantOf(model.name), model.variant);
    EXPECT_STREQ(modelName(model.type, model.variant), model.name);
    EXPECT_TRUE(isCatalogueModelName(model.name));

    std::string shouted(model.name);
    for (char& c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(controllerTypeOf(shouted.c_str()), model.type) << "names compare ignoring case";
    EXPECT_EQ(variantOf(shouted.c_str()), model.variant);
}

INSTANTIATE_TEST_SUITE_P(AllModels, CatalogueModel, testing::ValuesIn(kModels));

TEST(Catalogue, UnlistedVariantsAndUnknownNames) {
    EXPECT_STREQ(modelName(1, 9), "Vaultix controller");
    EXPECT_STREQ(modelName(11, -1), "Vaultix controller");
    EXPECT_STREQ(modelName(7, -1), "Vaultix-S1");
    EXPECT_STREQ(modelName(10, 4), "Corvane-SAS-RAID");
    EXPECT_STREQ(modelName(2, 5), "Vaultix-R1");
    EXPECT_STREQ(modelName(0, 1), "ERROR-NO-CONTROLLER");
    EXPECT_STREQ(modelName(13, -1), "ERROR-NO-CONTROLLER");

    EXPECT_EQ(controllerTypeOf("Vaultix-Q8"), -1);
    EXPECT_EQ(variantOf("Vaultix-Q8"), -1);
    EXPECT_EQ(controllerTypeOf(""), -1);
    EXPECT_EQ(controllerTypeOf(nullptr), -1);
    EXPECT_FALSE(isCatalogueModelName("Vaultix-Q4 "));
    EXPECT_FALSE(isCatalogueModelName("ERROR-NO-CONTROLLER"));
}

TEST(Catalogue, ControllersSharingAUtilityShareAScanGroup) {
    const int groups[] = {1, 7, 4, 4, 5, 6, 7, 4, 4, 5, 7, 12};
    for (int type = 1; type <= 12; ++type)
        EXPECT_EQ(scanGroup(type), groups[type - 1]) << type;
    EXPECT_EQ(scanGroup(0), 6) << "a type without a utility";
    EXPECT_STREQ(utilityCommand(13), "");
    EXPECT_TRUE(allowsPartialSizing(10));
    EXPECT_FALSE(allowsPartialSizing(9));
    EXPECT_STREQ(defaultDriveInterface(6), "IDE");
    EXPECT_STREQ(defaultDriveInterface(12), "");
}

TEST(Catalogue, SixTypesTakeASingleFormedArray) {
    const std::set<int> single = {3, 4, 5, 8, 9, 10};
    for (int type = 0; type <= 13; ++type)
        EXPECT_EQ(takesSingleArray(type), single.count(type) == 1) << type;
}

} // namespace
