// "/explain" is a flag like "/debug": any letter case, a whole argument, and it ends the value of a
// switch that runs on over the following arguments.
#include "arrayplan/frontend/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ExplainCase {
    std::vector<const char*> args;
    int result;
    bool explain;
    const char* jsonPath;
};

TEST(ExplainSwitch, IsAFlagOfItsOwn) {
    const ExplainCase cases[] = {
        {{}, 0, false, ""},
        {{"/explain"}, 0, true, ""},
        {{"/EXPLAIN", "/debug"}, 0, true, ""},
        {{"/json:r.json", "/Explain"}, 0, true, "r.json"},
        {{"/explainx"}, 1, false, ""},
    };
    for (const ExplainCase& row : cases) {
        std::vector<const char*> args = {"arrayplan", "/ini:a", "/inp:b"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        CommandLine line;
        EXPECT_EQ(parseCommandLine(static_cast<int>(args.size()), args.data(), line), row.result)
            << args.back();
        if (row.result != 0)
            continue;
        EXPECT_EQ(line.explain, row.explain) << args.back();
        EXPECT_EQ(line.jsonPath.Str(), row.jsonPath);
        EXPECT_EQ(line.policyPath.Str(), "b") << "the flag is never part of a value";
    }
}

} // namespace
