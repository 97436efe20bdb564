#include "arrayplan/fleet/FleetSummary.h"

#include "foundation/TextFormat.h"

void FleetSummary::count(int status, const std::string& message) {
    ++read_;
    if (status != 0 && firstFailure_ == 0)
        firstFailure_ = status;
    CodeCount& code = codes_[status];
    ++code.count;
    code.message = message;
}

std::string FleetSummary::text() const {
    std::string text =
        FormatText("Inventories read: %d, passed: %d, failed: %d\n", read_, passed(), failed());
    for (const auto& [status, code] : codes_)
        text += FormatText("Code %3d: %d  %s\n", status, code.count, code.message.c_str());
    return text;
}
