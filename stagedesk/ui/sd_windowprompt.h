// The message boxes of the windowed program.
//
// sd_MessageBoxPrompt shows a QMessageBox; it must be called on the window's thread.
// sd_WindowPrompt lives on the window's thread and hands every question asked on another thread (the
// copy worker) over to it with a blocking queued call, so the worker waits for the answer while the
// window stays responsive. The window's thread must therefore never wait for that worker; once
// Dismiss() is called, questions from other threads get the negative answer without being shown.
#pragma once

#include "stagedesk/core/sd_prompt.h"

#include <QObject>
#include <atomic>

class sd_MessageBoxPrompt : public sd_prompt {
public:
    Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                          const QString& details) override;
};

class sd_WindowPrompt : public QObject, public sd_prompt {
    Q_OBJECT
public:
    explicit sd_WindowPrompt(sd_prompt& shown, QObject* parent = nullptr);

    Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                          const QString& details) override;
    void Dismiss() { dismissed_ = true; }

private:
    sd_prompt& shown_;
    std::atomic<bool> dismissed_{false};
};
