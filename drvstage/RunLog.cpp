#include "drvstage/RunLog.h"

#include "drvstage/FileLookup.h"

#include <cstdio>

namespace {

// The lines of /V:9, the most that any line of a run asks for.
constexpr int kLoggedLevel = 9;

} // namespace

std::string LogTimeStamp(std::chrono::system_clock::time_point moment) {
    using namespace std::chrono;
    auto seconds = floor<std::chrono::seconds>(moment);
    auto day = floor<days>(seconds);
    year_month_day date(day);
    hh_mm_ss time(seconds - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()));
    return text;
}

bool RunLog::Open(const CString& path) {
    path_ = path;
    file_ = CurrentFileSystem().OpenFile(path.Str(), "a");
    if (!file_) {
        ReportUnwritableFile(path, CurrentFileSystem().LastFailureReason());
        return false;
    }
    SetLineRecorder(this);
    return true;
}

bool RunLog::Close() {
    if (!file_)
        return true;
    SetLineRecorder(nullptr);
    bool closed = file_->Close();
    file_.reset();
    if (closed && !failed_)
        return true;
    ReportUnwritableFile(path_, CurrentFileSystem().LastFailureReason());
    return false;
}

// A text of several lines gives one stamped line each.
void RunLog::Record(const char* text, int level) {
    if (level > kLoggedLevel || failed_)
        return;
    std::string stamp = LogTimeStamp(std::chrono::system_clock::now());
    std::string lines;
    const char* start = text;
    for (const char* at = text;; ++at) {
        if (*at != '\n' && *at != '\0')
            continue;
        lines += stamp;
        lines.append(start, at);
        lines += '\n';
        if (*at == '\0')
            break;
        start = at + 1;
    }
    failed_ = file_->Write(lines.data(), lines.size()) < lines.size();
}
