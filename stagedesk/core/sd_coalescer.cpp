#include "stagedesk/core/sd_coalescer.h"

sd_ProgressCoalescer::sd_ProgressCoalescer(sd_progress& sink, int callsPerSecond) : sink_(sink) {
    SetRate(callsPerSecond);
    clock_.start();
}

void sd_ProgressCoalescer::SetRate(int callsPerSecond) {
    intervalNs_ = callsPerSecond > 0 ? 1000000000LL / callsPerSecond : 0;
}

void sd_ProgressCoalescer::Flush() {
    if (targetHeld_) {
        targetHeld_ = false;
        sink_.UpdateTargetText(heldTarget_);
    }
    if (bytesHeld_) {
        bytesHeld_ = false;
        sink_.UpdateBytes(heldCopied_, heldTotal_, heldSecondsLeft_);
    }
    if (heldSteps_ > 0) {
        const int steps = heldSteps_;
        heldSteps_ = 0;
        sink_.UpdateProgress(steps, heldFile_);
    }
    lastForwardNs_ = clock_.nsecsElapsed();
}

void sd_ProgressCoalescer::ForwardWhenDue() {
    if (lastForwardNs_ < 0 || clock_.nsecsElapsed() - lastForwardNs_ >= intervalNs_)
        Flush();
}

void sd_ProgressCoalescer::UpdateProgress(int step, const QString& file) {
    heldSteps_ += step;
    heldFile_ = file;
    ForwardWhenDue();
}

void sd_ProgressCoalescer::UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) {
    bytesHeld_ = true;
    heldCopied_ = copied;
    heldTotal_ = total;
    heldSecondsLeft_ = secondsLeft;
    ForwardWhenDue();
}

void sd_ProgressCoalescer::UpdateTargetText(const QString& text) {
    targetHeld_ = true;
    heldTarget_ = text;
    ForwardWhenDue();
}

void sd_ProgressCoalescer::UpdateStatus(const QString& text) {
    Flush();
    sink_.UpdateStatus(text);
}

void sd_ProgressCoalescer::AbortCopy(const QString& text) {
    Flush();
    sink_.AbortCopy(text);
}

void sd_ProgressCoalescer::FinishedCopy(const QString& text) {
    Flush();
    sink_.FinishedCopy(text);
}

void sd_ProgressCoalescer::InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                                        const QString& itemName) {
    Flush();
    sink_.InitializeUI(discValue, discMaximum, overallValue, overallMaximum, itemName);
}
