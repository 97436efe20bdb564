// Helpers of the windows' tests: a kit whose configuration a test writes, a session on it with
// scripted answers, and waiting for queued events.
#pragma once

#include "sd_fakes.h"
#include "stagedesk/core/sd_xml.h"
#include "stagedesk/ui/sd_kitsession.h"
#include "stagedesk/ui/sd_windowprompt.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Runs this thread's events (deferred deletions included) until done() holds or ten seconds pass.
bool ProcessEventsUntil(const std::function<bool()>& done);

// The child with that object name; fails the test when there is none.
template <class T> T* Child(const QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << "no child " << name;
    return child;
}

// A configuration marking the listed editions ("dos", "winpe", "linux") installed, followed by the
// task categories given as XML. Base directory: the kit's.
QString Configuration(const TestKit& kit, const QStringList& installed, const QString& categories);

// Scripted answers to the questions of the windows, with the window each one was asked over.
class ScriptedBoxes : public sd_WindowBoxes {
public:
    explicit ScriptedBoxes(ScriptedPrompt& prompt) : prompt_(prompt) {}
    sd_prompt::Answer AskOver(QWidget* window, const QString& text, const QString& caption,
                              sd_prompt::Buttons buttons, sd_prompt::Icon icon,
                              const QString& details) override;

    std::vector<std::pair<QString, const QWidget*>> owners; // caption, window

private:
    ScriptedPrompt& prompt_;
};

// A test kit with a session on it: scripted answers, a fake platform, recorded desktop openings.
class UiKit {
public:
    UiKit();
    void Configure(const QStringList& installed, const QString& categories) const;

    TestKit kit;
    ScriptedPrompt prompt;
    ScriptedBoxes boxes{prompt};
    FakePlatform platform;
    QList<QUrl> opened;
    bool openSucceeds = true;
    sd_xml xml;
    sd_KitSession session;
};
