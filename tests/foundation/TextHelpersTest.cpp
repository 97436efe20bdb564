// The formatting and case-folding helpers that the programs share.
#include "foundation/TextCase.h"
#include "foundation/TextFormat.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

namespace {

TEST(TextCase, OnlyAToZFold) {
    struct Case {
        std::string a;
        std::string b;
        bool equal;
    };
    const Case cases[] = {
        {"Policy.A", "POLICY.a", true},
        {"", "", true},
        {"abc", "abcd", false},
        {"[@`{", "[@`{", true},
        {"@", "`", false},
        {"\xC9t\xE9", "\xE9T\xE9", false},
        {"Vaultix-Q4", "vaultix-q4", true},
        {"Q4 ", "Q4", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EqualsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    EXPECT_EQ(FoldedText("AbZ-\xC9"), "abz-\xC9");
}

std::string formatted(std::string& buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));
std::string formatted(std::string& buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool ok = FormatTextInto(buffer, format, args);
    va_end(args);
    return ok ? buffer : "failed";
}

TEST(TextFormat, FormatsAndReplacesTheBuffer) {
    EXPECT_EQ(FormatText("%s = %d \n", "Total", 12), "Total = 12 \n");
    EXPECT_EQ(FormatText("%s", std::string(5000, 'x').c_str()).size(), 5000u);
    std::string buffer = "a longer text left from before";
    EXPECT_EQ(formatted(buffer, "%d", 7), "7");
    EXPECT_EQ(formatted(buffer, "%s", ""), "");
    EXPECT_EQ(buffer, "");
}

} // namespace
