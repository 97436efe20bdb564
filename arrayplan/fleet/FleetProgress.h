// The progress line of a fleet check on a terminal, refreshed in place: inventories done of the total, the
// rate and the time left.
#pragma once

#include <chrono>
#include <string>

class Console;

class FleetProgress {
public:
    FleetProgress(Console& console, int total);

    // After each inventory; the line is redrawn at most a few times a second, and at the last one.
    void done(int count);
    // Ends the line, so that what follows starts on a line of its own.
    void finish();

    // "120 of 1000 inventories, 350/s, 3 s left"
    static std::string line(int count, int total, double seconds);

private:
    using Clock = std::chrono::steady_clock;

    Console& console_;
    int total_;
    Clock::time_point start_;
    Clock::time_point drawn_;
    bool any_ = false;
};
