#include "tests/arrayplan/config/ConfigTestSupport.h"

#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

std::unique_ptr<RaidController> controllerWith(int type, int variant, std::initializer_list<int> sizes,
                                               int channel) {
    auto controller = std::make_unique<RaidController>(type, variant);
    int id = 0;
    for (int size : sizes)
        controller->setDrive(channel, id++, size, "SCSI");
    controller->setScanOrder(1);
    return controller;
}

std::unique_ptr<RaidController> controllerWithDrives(int type, int variant, int n) {
    auto controller = std::make_unique<RaidController>(type, variant);
    for (int id = 0; id < n; ++id)
        controller->setDrive(1, id, 70000, "SCSI");
    controller->setScanOrder(1);
    return controller;
}

ConfigFixture::ConfigFixture() {
    settings.raidDirectory = (dir.Path().string() + "/").c_str();
    settings.machineType = "8837";
    settings.serialNumber = "KQ4711X";
}

const PolicyList& ConfigFixture::readPolicies(const std::string& text) {
    reader_ = std::make_unique<PolicyReader>(settings, dir.Write("policies.ini", text).c_str(), false);
    ConsoleCapture capture;
    EXPECT_TRUE(reader_->read()) << capture.Out();
    return reader_->policyList();
}

void ConfigFixture::writeSupportFile(const std::string& model, const std::string& text) {
    dir.Write(model + ".ini", text);
}

std::string lastErrorReport(const std::string& out) {
    const std::string marker = "#### ERROR\n\t";
    size_t at = out.rfind(marker);
    return at == std::string::npos ? std::string() : out.substr(at + marker.size());
}
