// The questions and messages of the configurator's services (message boxes in the windowed program).
//
// Services call Ask() on the thread that runs them: the copy engine calls it on its worker thread and
// waits for the answer. A window implements it by handing the call to its own thread, for example
// QMetaObject::invokeMethod(window, ..., Qt::BlockingQueuedConnection) around a QMessageBox; the
// window's thread must then never wait for the worker (see sd_filecopy.h). Tests script the answers;
// the console mode asks on the terminal.
#pragma once

#include <QString>

class sd_prompt {
public:
    enum class Buttons { OK, OKCancel, YesNo };
    enum class Icon { None, Information, Question, Warning, Error };
    enum class Answer { OK, Cancel, Yes, No };

    virtual ~sd_prompt() = default;

    // Shows text under caption with the given buttons and returns the button chosen. An answer that the
    // buttons do not offer is read as the negative one (Cancel or No).
    virtual Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) = 0;

    // The same question with details of why it is asked (a message box shows them on request, the
    // console after the text). Where there is no place for details, they are left out.
    virtual Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                                  const QString&) {
        return Ask(text, caption, buttons, icon);
    }

    // A message with an OK button only.
    void Show(const QString& text, const QString& caption, Icon icon) {
        Ask(text, caption, Buttons::OK, icon);
    }
};
