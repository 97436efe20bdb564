// The terminal side of the console mode: questions and messages, status lines and progress.
//
// A message prints its caption on one line, then its text. Questions read one line of input:
// "y"/"n" for Yes/No, Enter or "o" for OK, "c" for Cancel; the end of input answers No or Cancel.
// With answerYes every Yes/No question is answered Yes (the question and "Yes" are still printed).
// The answer read is printed after the question as its word ("Yes", "No", "OK", "Cancel"; an answer not
// understood as typed), ending the line, unless a terminal already shows what was typed there.
// Progress is one refreshed line on a terminal, and at most a few plain lines a second otherwise.
#pragma once

#include "stagedesk/core/sd_progress.h"
#include "stagedesk/core/sd_prompt.h"

#include <QElapsedTimer>
#include <QStringList>
#include <iosfwd>

// Writes whole lines and the one progress line that a terminal refreshes in place.
class sd_ConsoleWriter {
public:
    sd_ConsoleWriter(std::ostream& out, bool terminal);
    void Line(const QString& text);
    void Text(const QString& text); // no line break (a question's answer hint)
    void Progress(const QString& text);

private:
    void EndProgressLine();

    std::ostream& out_;
    bool terminal_;
    bool progressOpen_ = false;
    QElapsedTimer sinceLastPlain_;
};

class sd_ConsolePrompt : public sd_prompt {
public:
    // typingShown: the input is typed on the terminal that the output goes to, which echoes it.
    sd_ConsolePrompt(sd_ConsoleWriter& writer, std::istream& in, bool answerYes, bool typingShown);
    Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    // The details print after the text.
    Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                          const QString& details) override;
    // The Yes/No question under caption is answered Yes (printed as with answerYes).
    void AnswerYes(const QString& caption) { yesCaptions_ << caption; }

private:
    Answer Read(Buttons buttons);
    void Echo(const QString& text);

    sd_ConsoleWriter& writer_;
    std::istream& in_;
    bool answerYes_;
    bool typingShown_;
    QStringList yesCaptions_;
};

class sd_ConsoleProgress : public sd_progress {
public:
    explicit sd_ConsoleProgress(sd_ConsoleWriter& writer) : writer_(writer) {}

    void UpdateProgress(int step, const QString& file) override;
    void UpdateStatus(const QString& text) override;
    void AbortCopy(const QString& text) override;
    void FinishedCopy(const QString& text) override;
    void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) override;
    void UpdateTargetText(const QString& text) override;
    void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                      const QString& itemName) override;

private:
    sd_ConsoleWriter& writer_;
    int discValue_ = 0, discMaximum_ = 0, overallValue_ = 0, overallMaximum_ = 0;
    QString bytes_; // the bytes copied of the total and the time left, as last told
};
