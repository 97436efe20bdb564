#include "stagedesk/ui/sd_windowprompt.h"

#include <QMessageBox>
#include <QThread>

namespace {

sd_prompt::Answer Negative(sd_prompt::Buttons buttons) {
    return buttons == sd_prompt::Buttons::YesNo ? sd_prompt::Answer::No : sd_prompt::Answer::Cancel;
}

QMessageBox::Icon BoxIcon(sd_prompt::Icon icon) {
    switch (icon) {
    case sd_prompt::Icon::Information:
        return QMessageBox::Information;
    case sd_prompt::Icon::Question:
        return QMessageBox::Question;
    case sd_prompt::Icon::Warning:
        return QMessageBox::Warning;
    case sd_prompt::Icon::Error:
        return QMessageBox::Critical;
    case sd_prompt::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(sd_prompt::Buttons buttons) {
    switch (buttons) {
    case sd_prompt::Buttons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case sd_prompt::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case sd_prompt::Buttons::OK:
        break;
    }
    return QMessageBox::Ok;
}

sd_prompt::Answer FromBox(int button, sd_prompt::Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return sd_prompt::Answer::OK;
    case QMessageBox::Yes:
        return sd_prompt::Answer::Yes;
    case QMessageBox::No:
        return sd_prompt::Answer::No;
    default:
        // Escape or the window's close box on a box without Cancel.
        return buttons == sd_prompt::Buttons::OK ? sd_prompt::Answer::OK : Negative(buttons);
    }
}

} // namespace

sd_prompt::Answer sd_MessageBoxPrompt::Ask(const QString& text, const QString& caption, Buttons buttons,
                                           Icon icon) {
    return AskWithDetails(text, caption, buttons, icon, QString());
}

sd_prompt::Answer sd_MessageBoxPrompt::AskWithDetails(const QString& text, const QString& caption,
                                                      Buttons buttons, Icon icon, const QString& details) {
    QMessageBox box(BoxIcon(icon), caption, text, BoxButtons(buttons));
    if (!details.isEmpty())
        box.setDetailedText(details);
    return FromBox(box.exec(), buttons);
}

sd_WindowPrompt::sd_WindowPrompt(sd_prompt& shown, QObject* parent) : QObject(parent), shown_(shown) {}

sd_prompt::Answer sd_WindowPrompt::Ask(const QString& text, const QString& caption, Buttons buttons,
                                       Icon icon) {
    return AskWithDetails(text, caption, buttons, icon, QString());
}

sd_prompt::Answer sd_WindowPrompt::AskWithDetails(const QString& text, const QString& caption,
                                                  Buttons buttons, Icon icon, const QString& details) {
    if (QThread::currentThread() == thread())
        return shown_.AskWithDetails(text, caption, buttons, icon, details);
    Answer answer = Negative(buttons);
    if (dismissed_)
        return answer;
    QMetaObject::invokeMethod(
        this,
        [&] {
            // Checked again here: the question may have been queued before the window let go.
            if (!dismissed_)
                answer = shown_.AskWithDetails(text, caption, buttons, icon, details);
        },
        Qt::BlockingQueuedConnection);
    return answer;
}
