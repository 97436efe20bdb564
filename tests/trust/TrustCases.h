// The scenarios as rows of the two trust tests, named for the test list.
#pragma once

#include "Scenario.h"

#include <gtest/gtest.h>

#include <string>

struct ScenarioName {
    template <typename Case> std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.scenario.name;
    }
};

// One line of figures per test, printed whether it passes or not, for the record of a run.
void PrintFigures(const std::string& line);
