// The tally of a fleet check: inventories read, passed and failed, the count of each result code, and the
// exit status (0 when all passed, else the code of the first failing inventory in path order).
#pragma once

#include <map>
#include <string>

class FleetSummary {
public:
    // Counts one inventory, taken in path order, with its exit status and its result's message.
    void count(int status, const std::string& message);

    int read() const { return read_; }
    int passed() const { return codes_.count(0) ? codes_.at(0).count : 0; }
    int failed() const { return read_ - passed(); }
    int exitStatus() const { return firstFailure_; }

    // "Inventories read: 3, passed: 2, failed: 1\n", then one line per code in code order:
    // "Code  10: 1  Not enough same size drives to accommodate requested configuration\n".
    std::string text() const;

private:
    struct CodeCount {
        int count = 0;
        std::string message;
    };

    int read_ = 0;
    int firstFailure_ = 0;
    std::map<int, CodeCount> codes_;
};
