#include "stagedesk/core/sd_statuslog.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_platform.h"
#include "stagedesk/core/sd_text.h"

namespace sd {

QString StatusLogPath(const QString& homeDirectory) {
    return JoinPath(JoinPath(homeDirectory, "logs"), "stagedesk.log");
}

void LogStatus(sd_platform& platform, const QString& homeDirectory, const QString& text) {
    if (platform.MakeFolder(JoinPath(homeDirectory, "logs")).ok())
        platform.AppendToFile(StatusLogPath(homeDirectory), (StatusLine(text) + "\n").toUtf8());
}

} // namespace sd

sd_LoggedProgress::sd_LoggedProgress(sd_progress& sink, sd_platform& platform, const QString& homeDirectory)
    : sink_(sink), platform_(platform), home_(homeDirectory) {}

void sd_LoggedProgress::UpdateStatus(const QString& text) {
    sd::LogStatus(platform_, home_, text);
    sink_.UpdateStatus(text);
}

void sd_LoggedProgress::AbortCopy(const QString& text) {
    sd::LogStatus(platform_, home_, text);
    sink_.AbortCopy(text);
}

void sd_LoggedProgress::FinishedCopy(const QString& text) {
    sd::LogStatus(platform_, home_, text);
    sink_.FinishedCopy(text);
}
