// The configurator's log: every status line of a copy, as the status box shows it (date, time, text),
// is also appended to "logs/stagedesk.log" in the configurator's folder, so what happened to a kit can
// be read after the window is closed.
#pragma once

#include "stagedesk/core/sd_progress.h"

class sd_platform;

namespace sd {

// home + "/logs/stagedesk.log".
QString StatusLogPath(const QString& homeDirectory);
// Appends sd::StatusLine(text) and a line break to the log, creating its folder; best effort.
void LogStatus(sd_platform& platform, const QString& homeDirectory, const QString& text);

} // namespace sd

// Forwards every update to the sink and appends each status line to the log. A log that cannot be
// written costs no copy: the line still reaches the sink.
class sd_LoggedProgress : public sd_progress {
public:
    sd_LoggedProgress(sd_progress& sink, sd_platform& platform, const QString& homeDirectory);

    void UpdateProgress(int step, const QString& file) override { sink_.UpdateProgress(step, file); }
    void UpdateStatus(const QString& text) override;
    void AbortCopy(const QString& text) override;
    void FinishedCopy(const QString& text) override;
    void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) override {
        sink_.UpdateBytes(copied, total, secondsLeft);
    }
    void UpdateTargetText(const QString& text) override { sink_.UpdateTargetText(text); }
    void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                      const QString& itemName) override {
        sink_.InitializeUI(discValue, discMaximum, overallValue, overallMaximum, itemName);
    }

private:
    sd_progress& sink_;
    sd_platform& platform_;
    QString home_;
};
