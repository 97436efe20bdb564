// A progress sink that turns each update operation into a Qt signal. Emitted on the copy worker and
// connected to slots of an object that lives on the window's thread, the calls arrive there as queued
// events in order, and the worker never waits for them.
#pragma once

#include "stagedesk/core/sd_progress.h"

#include <QObject>

class sd_ProgressSignals : public QObject, public sd_progress {
    Q_OBJECT
public:
    using QObject::QObject;

    void UpdateProgress(int step, const QString& file) override { emit progressUpdated(step, file); }
    void UpdateStatus(const QString& text) override { emit statusUpdated(text); }
    void AbortCopy(const QString& text) override { emit copyAborted(text); }
    void FinishedCopy(const QString& text) override { emit copyFinished(text); }
    void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) override {
        emit bytesUpdated(copied, total, secondsLeft);
    }
    void UpdateTargetText(const QString& text) override { emit targetTextUpdated(text); }
    void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                      const QString& itemName) override {
        emit uiInitialized(discValue, discMaximum, overallValue, overallMaximum, itemName);
    }

signals:
    void progressUpdated(int step, const QString& file);
    void statusUpdated(const QString& text);
    void copyAborted(const QString& text);
    void copyFinished(const QString& text);
    void bytesUpdated(qint64 copied, qint64 total, qint64 secondsLeft);
    void targetTextUpdated(const QString& text);
    void uiInitialized(int discValue, int discMaximum, int overallValue, int overallMaximum,
                       const QString& itemName);
};
