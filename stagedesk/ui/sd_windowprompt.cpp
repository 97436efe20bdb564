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

QMessageBox::StandardButton ToBox(sd_prompt::Answer answer) {
    switch (answer) {
    case sd_prompt::Answer::Yes:
        return QMessageBox::Yes;
    case sd_prompt::Answer::No:
        return QMessageBox::No;
    case sd_prompt::Answer::Cancel:
        return QMessageBox::Cancel;
    case sd_prompt::Answer::OK:
        break;
    }
    return QMessageBox::Ok;
}

// Questions whose Yes or No removes files, or leads to that.
struct SafeAnswer {
    const char* caption;
    sd_prompt::Answer answer;
};
const SafeAnswer kSafeAnswers[] = {
    {"Directory Already Exists", sd_prompt::Answer::No}, // Yes removes the existing copy
    {"Closing Wizard", sd_prompt::Answer::No},           // Yes stops the copy and may remove it
    {"Keep Copied Files?", sd_prompt::Answer::Yes},      // No removes the copy
};

} // namespace

sd_prompt::Answer DefaultAnswer(const QString& caption, sd_prompt::Buttons buttons) {
    for (const SafeAnswer& safe : kSafeAnswers) {
        if (buttons == sd_prompt::Buttons::YesNo && caption == safe.caption)
            return safe.answer;
    }
    return buttons == sd_prompt::Buttons::YesNo ? sd_prompt::Answer::Yes : sd_prompt::Answer::OK;
}

sd_prompt::Answer sd_MessageBoxes::AskOver(QWidget* window, const QString& text, const QString& caption,
                                           sd_prompt::Buttons buttons, sd_prompt::Icon icon,
                                           const QString& details) {
    QMessageBox box(BoxIcon(icon), caption, text, BoxButtons(buttons), window);
    box.setDefaultButton(ToBox(DefaultAnswer(caption, buttons)));
    if (window)
        box.setWindowModality(Qt::WindowModal);
    if (!details.isEmpty())
        box.setDetailedText(details);
    return FromBox(box.exec(), buttons);
}

sd_WindowPrompt::sd_WindowPrompt(sd_WindowBoxes& boxes, QWidget* window) : boxes_(boxes), window_(window) {}

sd_prompt::Answer sd_WindowPrompt::Ask(const QString& text, const QString& caption, Buttons buttons,
                                       Icon icon) {
    return AskWithDetails(text, caption, buttons, icon, QString());
}

sd_prompt::Answer sd_WindowPrompt::AskWithDetails(const QString& text, const QString& caption,
                                                  Buttons buttons, Icon icon, const QString& details) {
    if (QThread::currentThread() == thread())
        return boxes_.AskOver(window_, text, caption, buttons, icon, details);
    Answer answer = Negative(buttons);
    if (dismissed_)
        return answer;
    QMetaObject::invokeMethod(
        this,
        [&] {
            // Checked again here: the question may have been queued before the window let go.
            if (!dismissed_)
                answer = boxes_.AskOver(window_, text, caption, buttons, icon, details);
        },
        Qt::BlockingQueuedConnection);
    return answer;
}
