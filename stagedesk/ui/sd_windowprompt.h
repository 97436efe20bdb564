// The message boxes of the windowed program.
//
// sd_WindowBoxes shows a question over the window it belongs to; sd_MessageBoxes does it with a
// QMessageBox that is modal to that window only, so other wizards keep working. It must be called on
// the window's thread.
// sd_WindowPrompt is one window's prompt: it lives on the window's thread and hands every question asked
// on another thread (the copy worker) over to it with a blocking queued call, so the worker waits for
// the answer while the window stays responsive. The window's thread must therefore never wait for that
// worker; once Dismiss() is called, questions from other threads get the negative answer without being
// shown.
#pragma once

#include "stagedesk/core/sd_prompt.h"

#include <QObject>
#include <atomic>

class QWidget;

class sd_WindowBoxes {
public:
    virtual ~sd_WindowBoxes() = default;
    // window is null only before any window is shown; details, when not empty, are shown on request.
    virtual sd_prompt::Answer AskOver(QWidget* window, const QString& text, const QString& caption,
                                      sd_prompt::Buttons buttons, sd_prompt::Icon icon,
                                      const QString& details) = 0;
};

class sd_MessageBoxes : public sd_WindowBoxes {
public:
    sd_prompt::Answer AskOver(QWidget* window, const QString& text, const QString& caption,
                              sd_prompt::Buttons buttons, sd_prompt::Icon icon,
                              const QString& details) override;
};

// The answer that Enter gives: the one that removes nothing.
sd_prompt::Answer DefaultAnswer(const QString& caption, sd_prompt::Buttons buttons);

class sd_WindowPrompt : public QObject, public sd_prompt {
    Q_OBJECT
public:
    sd_WindowPrompt(sd_WindowBoxes& boxes, QWidget* window);

    Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                          const QString& details) override;
    void Dismiss() { dismissed_ = true; }

private:
    sd_WindowBoxes& boxes_;
    QWidget* window_;
    std::atomic<bool> dismissed_{false};
};
