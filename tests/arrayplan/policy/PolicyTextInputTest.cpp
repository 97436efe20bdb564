// The policy reader gives for text what it gives for a file holding it, strict and lenient.
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyReader.h"
#include "tests/support/ConsoleCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The verdict, the names, every line printed, a value lookup and the debug dump.
std::string readingSummary(PolicyReader& reader, ConsoleCapture& capture) {
    capture.Clear();
    std::string summary = reader.read() ? "read|" : "failed|";
    for (const CString& name : reader.policyNames())
        summary += name.Str() + ",";
    summary += "|" + reader.valueOf("Policy.A", "Init").Str() + "|";
    reader.dumpAllPolicies();
    return summary + capture.Out();
}

TEST(PolicyTextInput, TextReadsAsTheFileHoldingIt) {
    const std::string document =
        "; policies\n[Policy.A]\nAppliesTo.1 = ALL\nInit = BUILD\n"
        "Array_Mode = CUSTOM\nArray.A = 1:0, 1:1\nLogical.1 = A:FILL:1\n[Policy.B]\nAppliesTo.1 = c:2\n";
    struct Case {
        const char* label;
        std::string content;
        bool reads;
    };
    const Case cases[] = {
        {"plain", document, true},
        {"byte order mark", "\xEF\xBB\xBF" + document, true},
        {"CR LF", "[Policy.A]\r\nAppliesTo.1 = ALL\r\nInit = QUICK\r\n", true},
        {"no final newline", "[Policy.A]\nAppliesTo.1 = ALL\nInit = QUICK", true},
        {"too long a line", "[Policy.A]\nAppliesTo.1 = ALL\n; " + std::string(253, 'x') + "\n", false},
        {"NUL bytes", std::string("[Policy.A]\nAppliesTo.1 = ALL\n\0\n", 31), true},
        {"empty", "", false},
    };
    for (bool lenient : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (lenient ? " lenient" : " strict"));
            TempDir dir;
            std::string path = dir.Write("policies.ini", c.content);
            ConsoleCapture capture;
            RunSettings settings;
            PolicyReader fromFile(settings, path.c_str(), lenient);
            std::string fileSummary = readingSummary(fromFile, capture);
            PolicyReader fromText(settings, path.c_str(), TextContents{c.content}, lenient);
            EXPECT_EQ(readingSummary(fromText, capture), fileSummary);
            EXPECT_EQ(fileSummary.rfind("read|", 0) == 0, c.reads || (lenient && c.content.empty()));
        }
    }
}

} // namespace
