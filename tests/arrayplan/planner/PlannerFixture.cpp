#include "PlannerFixture.h"

#include "arrayplan/planner/PolicyConverter.h"
#include "support/ConsoleCapture.h"

int PlannerTest::plan() {
    ConsoleCapture capture;
    planned_ = policy_;
    int code = codeNumber(PolicyConverter(settings_, planned_, controller_).runConverter());
    out_ = capture.Out();
    return code;
}

std::vector<int> PlannerTest::arrayDrives(int index) const {
    std::vector<int> numbers;
    if (const RaidArray* array = planned_.arrayAt(index)) {
        for (int number : array->driveNumbers)
            numbers.push_back(number);
    }
    return numbers;
}

std::vector<int> PlannerTest::hotSpares() const {
    std::vector<int> numbers;
    for (int i = 0; const RaidHotSpare* hotSpare = planned_.hotSpareAt(i); ++i) {
        EXPECT_EQ(hotSpare->channel(), -1);
        EXPECT_EQ(hotSpare->id(), -1);
        numbers.push_back(hotSpare->driveNumber());
    }
    return numbers;
}
