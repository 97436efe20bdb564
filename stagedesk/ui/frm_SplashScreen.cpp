#include "stagedesk/ui/frm_SplashScreen.h"

#include "stagedesk/core/sd_startup.h"
#include "stagedesk/ui/sd_taskpictures.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

frm_SplashScreen::frm_SplashScreen(const QString& homeDirectory, sd_xml& xml, sd_WindowBoxes& boxes,
                                   QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), home_(homeDirectory), xml_(xml), prompt_(boxes, this) {
    setObjectName("splash");
    setWindowIcon(ApplicationIcon());
    setFixedSize(420, 200);
    setStyleSheet("frm_SplashScreen { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #1d3f73, "
                  "stop:1 #3f78c0); border: 1px solid #0e2244; } QLabel { color: white; }");

    auto* title = new QLabel("Torvik Harborline Kitorium Configurator", this);
    QFont titleFont = title->font();
    titleFont.setPointSize(titleFont.pointSize() + 5);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setWordWrap(true);

    status_ = new QLabel("Verifying Kitorium Version Information", this);
    status_->setObjectName("status");
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setRange(1, 5);
    progress_->setValue(1);
    progress_->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(title);
    layout->addStretch();
    layout->addWidget(status_);
    layout->addWidget(progress_);
}

// The checks hold the event loop, so they start only once the screen has been painted; a window
// system that never asks for a paint gets them a moment later all the same.
void frm_SplashScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    QTimer::singleShot(1000, this, &frm_SplashScreen::StartChecks);
}

void frm_SplashScreen::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (shown_)
        QTimer::singleShot(0, this, &frm_SplashScreen::StartChecks);
}

void frm_SplashScreen::StartChecks() {
    if (started_)
        return;
    started_ = true;
    RunChecks();
}

void frm_SplashScreen::RunChecks() {
    sd_startup startup(home_, xml_, prompt_);
    const bool passed = startup.Run([this] {
        progress_->setValue(progress_->value() + 1);
        // Paints, and repaints what was uncovered, while the checks run; the user's input waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    done(passed ? Accepted : Rejected);
}
