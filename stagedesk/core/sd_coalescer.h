// Holds back frequent progress updates and forwards them at a bounded rate, so that a copy of many
// small files does not flood the window's event queue. Any other update first flushes what is held,
// so the order of events is kept.
#pragma once

#include "stagedesk/core/sd_progress.h"

#include <QElapsedTimer>

class sd_ProgressCoalescer : public sd_progress {
public:
    sd_ProgressCoalescer(sd_progress& sink, int callsPerSecond);

    void SetRate(int callsPerSecond);
    // Forwards anything still held.
    void Flush();

    void UpdateProgress(int step, const QString& file) override;
    void UpdateStatus(const QString& text) override;
    void AbortCopy(const QString& text) override;
    void FinishedCopy(const QString& text) override;
    void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) override;
    void UpdateTargetText(const QString& text) override;
    void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                      const QString& itemName) override;

private:
    void ForwardWhenDue();

    sd_progress& sink_;
    qint64 intervalNs_ = 0;
    QElapsedTimer clock_;
    qint64 lastForwardNs_ = -1;
    int heldSteps_ = 0;
    QString heldFile_;
    bool bytesHeld_ = false;
    qint64 heldCopied_ = 0, heldTotal_ = 0, heldSecondsLeft_ = -1;
    bool targetHeld_ = false;
    QString heldTarget_;
};
