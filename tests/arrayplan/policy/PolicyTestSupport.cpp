#include "tests/arrayplan/policy/PolicyTestSupport.h"

bool PolicyFileTest::readPolicies(const std::string& text, bool lenient) {
    reader = std::make_unique<PolicyReader>(settings, CString(dir.Write("policies.ini", text)), lenient);
    ConsoleCapture capture;
    bool ok = reader->read();
    out = capture.Out();
    return ok;
}

bool PolicyFileTest::readMissingFile(bool lenient) {
    reader = std::make_unique<PolicyReader>(settings, CString(dir / "absent.ini"), lenient);
    ConsoleCapture capture;
    bool ok = reader->read();
    out = capture.Out();
    return ok;
}

std::string PolicyFileTest::lastReport() const {
    const std::string marker = "\n#### ERROR\n\t";
    size_t at = out.rfind(marker);
    return at == std::string::npos ? std::string() : out.substr(at + marker.size());
}

const Policy& PolicyFileTest::policy(int index) const {
    const Policy* found = reader->policyList().at(index);
    EXPECT_NE(found, nullptr);
    static const Policy none;
    return found != nullptr ? *found : none;
}

std::string onePolicy(const std::string& lines) {
    return "[Policy.A]\nAppliesTo.1 = ALL\n" + lines;
}
