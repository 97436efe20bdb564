#include "stagedesk/core/sd_consoleio.h"

#include "stagedesk/core/sd_text.h"

#include <istream>
#include <ostream>
#include <string>

namespace {

constexpr int kPlainProgressIntervalMs = 250; // a few lines a second when the output is not a terminal
constexpr int kProgressWidth = 79;            // fits an 80-column terminal without wrapping

} // namespace

sd_ConsoleWriter::sd_ConsoleWriter(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

void sd_ConsoleWriter::EndProgressLine() {
    if (progressOpen_)
        out_ << '\n';
    progressOpen_ = false;
}

void sd_ConsoleWriter::Line(const QString& text) {
    EndProgressLine();
    out_ << text.toStdString() << '\n';
    out_.flush();
}

void sd_ConsoleWriter::Text(const QString& text) {
    EndProgressLine();
    out_ << text.toStdString();
    out_.flush();
}

void sd_ConsoleWriter::Progress(const QString& text) {
    if (terminal_) {
        QString shown = text.size() > kProgressWidth ? "..." + text.right(kProgressWidth - 3) : text;
        out_ << '\r' << shown.leftJustified(kProgressWidth).toStdString();
        out_.flush();
        progressOpen_ = true;
        return;
    }
    if (sinceLastPlain_.isValid() && sinceLastPlain_.elapsed() < kPlainProgressIntervalMs)
        return;
    sinceLastPlain_.start();
    Line(text);
}

sd_ConsolePrompt::sd_ConsolePrompt(sd_ConsoleWriter& writer, std::istream& in, bool answerYes,
                                   bool typingShown)
    : writer_(writer), in_(in), answerYes_(answerYes), typingShown_(typingShown) {}

sd_prompt::Answer sd_ConsolePrompt::Ask(const QString& text, const QString& caption, Buttons buttons, Icon) {
    writer_.Line(caption);
    writer_.Line(text);
    if (buttons == Buttons::OK)
        return Answer::OK;
    if (buttons == Buttons::YesNo && (answerYes_ || yesCaptions_.contains(caption))) {
        writer_.Line("Yes");
        return Answer::Yes;
    }
    return Read(buttons);
}

sd_prompt::Answer sd_ConsolePrompt::AskWithDetails(const QString& text, const QString& caption,
                                                   Buttons buttons, Icon icon, const QString& details) {
    return Ask(details.isEmpty() ? text : text + "\n" + details, caption, buttons, icon);
}

// An answer typed on a terminal is on the screen already, its line ended by the Enter key.
void sd_ConsolePrompt::Echo(const QString& text) {
    if (!typingShown_)
        writer_.Line(text);
}

sd_prompt::Answer sd_ConsolePrompt::Read(Buttons buttons) {
    const bool yesNo = buttons == Buttons::YesNo;
    for (;;) {
        writer_.Text(yesNo ? "[y/n] " : "[Enter or o = OK, c = Cancel] ");
        std::string line;
        if (!std::getline(in_, line)) {
            writer_.Line(yesNo ? "No" : "Cancel");
            return yesNo ? Answer::No : Answer::Cancel;
        }
        const QString typed = QString::fromStdString(line).trimmed();
        const QString answer = typed.toLower();
        if (yesNo && (answer == "y" || answer == "yes")) {
            Echo("Yes");
            return Answer::Yes;
        }
        if (yesNo && (answer == "n" || answer == "no")) {
            Echo("No");
            return Answer::No;
        }
        if (!yesNo && (answer.isEmpty() || answer == "o" || answer == "ok")) {
            Echo("OK");
            return Answer::OK;
        }
        if (!yesNo && (answer == "c" || answer == "cancel")) {
            Echo("Cancel");
            return Answer::Cancel;
        }
        Echo(typed);
    }
}

void sd_ConsoleProgress::InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                                      const QString& itemName) {
    discValue_ = discValue - 1; // the bar's minimum: no file of the disc copied yet
    discMaximum_ = discMaximum;
    overallValue_ = overallValue;
    overallMaximum_ = overallMaximum;
    writer_.Line(itemName + ": " + QString::number(discMaximum) + " files");
}

void sd_ConsoleProgress::UpdateProgress(int step, const QString& file) {
    discValue_ += step;
    overallValue_ += step;
    const int percent = overallMaximum_ > 0 ? int(qint64(overallValue_) * 100 / overallMaximum_) : 100;
    writer_.Progress(QString("[%1/%2] %3% %4%5")
                         .arg(discValue_)
                         .arg(discMaximum_)
                         .arg(percent)
                         .arg(bytes_.isEmpty() ? QString() : bytes_ + " ")
                         .arg(file));
}

void sd_ConsoleProgress::UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) {
    bytes_ = sd::BytesProgressText(copied, total, secondsLeft);
}

void sd_ConsoleProgress::UpdateStatus(const QString& text) {
    writer_.Line(sd::StatusLine(text));
}

void sd_ConsoleProgress::AbortCopy(const QString& text) {
    writer_.Line(sd::StatusLine(text));
}

void sd_ConsoleProgress::FinishedCopy(const QString& text) {
    writer_.Line(sd::StatusLine(text));
}

void sd_ConsoleProgress::UpdateTargetText(const QString& text) {
    writer_.Line("Target: " + text);
}
