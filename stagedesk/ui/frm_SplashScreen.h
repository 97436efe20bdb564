// The splash screen: runs the start-up checks while it shows their progress (1 to 5). It is accepted
// when the checks passed and the main window may open; rejected after a check's message otherwise.
#pragma once

#include "stagedesk/ui/sd_windowprompt.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class sd_xml;
class sd_WindowBoxes;

class frm_SplashScreen : public QDialog {
    Q_OBJECT
public:
    frm_SplashScreen(const QString& homeDirectory, sd_xml& xml, sd_WindowBoxes& boxes,
                     QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void StartChecks();
    void RunChecks();

    QString home_;
    sd_xml& xml_;
    sd_WindowPrompt prompt_;
    QLabel* status_;
    QProgressBar* progress_;
    bool shown_ = false;
    bool started_ = false;
};
