#include "arrayplan/fleet/FleetProgress.h"

#include "foundation/Console.h"
#include "foundation/TextFormat.h"

#include <cmath>

namespace {

constexpr std::chrono::milliseconds kRedraw(200);

} // namespace

FleetProgress::FleetProgress(Console& console, int total)
    : console_(console), total_(total), start_(Clock::now()), drawn_(start_) {}

std::string FleetProgress::line(int count, int total, double seconds) {
    double rate = seconds > 0 ? count / seconds : 0;
    long left = rate > 0 ? std::lround((total - count) / rate) : 0;
    return FormatText("%d of %d inventories, %.0f/s, %ld s left", count, total, rate, left);
}

void FleetProgress::done(int count) {
    Clock::time_point now = Clock::now();
    if (count < total_ && now - drawn_ < kRedraw)
        return;
    drawn_ = now;
    any_ = true;
    double seconds = std::chrono::duration<double>(now - start_).count();
    // Blanks after the text wipe what a longer line before it left.
    console_.OutFormat("\r%s   ", line(count, total_, seconds).c_str());
}

void FleetProgress::finish() {
    if (any_)
        console_.Out("\n");
}
