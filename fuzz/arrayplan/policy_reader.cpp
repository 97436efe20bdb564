// Fuzz target: the policy reader (scan, validation, dump) on arbitrary file contents, strict and lenient.
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void readOnce(std::string_view bytes, bool lenient) {
    RunSettings settings;
    PolicyReader reader(settings, "policies.ini", TextContents{bytes}, lenient);
    if (!reader.read())
        return;
    reader.dumpAllPolicies();
    for (int i = 0; i < reader.policyList().size(); ++i) {
        Policy copy(*reader.policyList().at(i));
        copy.removeAllArrays();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string out;
    std::string err;
    Console::Instance().Capture(&out, &err);
    readOnce(bytes, false);
    readOnce(bytes, true);
    Console::Instance().Capture(nullptr, nullptr);
    return 0;
}
