// The copy wizard of one task: the selection page, the paths page with its checks, and the copy page,
// on which the copy engine runs on a worker thread. Closing during a copy pauses the worker while the
// user is asked, then resumes it or stops it (and removes what it copied when the user says so).
//
// The window deletes itself once closed; a stopped worker is let finish its current file first.
#pragma once

#include "stagedesk/core/sd_copyjob.h"
#include "stagedesk/core/sd_editions.h"
#include "stagedesk/core/sd_tasks.h"
#include "stagedesk/ui/sd_windowprompt.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;
class QThread;
class sd_filecopy;
class sd_ProgressSignals;
class sddll_SelectOS;
class sddll_SelectPaths;
class sddll_FileCopy;
struct sd_KitSession;

class frm_OSFiles : public QWidget {
    Q_OBJECT
public:
    frm_OSFiles(sd_Task task, sd_KitSession& session, QWidget* parent = nullptr);
    ~frm_OSFiles() override;

    // The copy engine, once the copy has started (for the copy target).
    const sd_filecopy* Engine() const { return engine_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter clicks the default button (Next, or Finish once the copy has ended); Escape closes, which
    // asks first while the wizard has not finished.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnItemChosen(const QString& item);
    bool LookUpItem(const QString& item);
    void UpdateNextOnPaths();
    void Next();
    void Back();
    void ShowPathsPage();
    void CheckPathsAndStart();
    QString SourceFolder() const;
    sd_CopyJob CopyJob() const;
    void StartCopy();
    void ReturnToPathsPage();
    void OnCopyEnded(bool completed);
    void OnWorkerFinished();
    void TryAgain();
    void OpenFolder();
    bool ConfirmClose();
    bool UserWantsCopyRemoved();
    void FinishClosing();

    const sd_Task task_;
    sd_KitSession& session_;
    sd_WindowPrompt prompt_;
    sd_Editions editions_;
    QString baseDirectory_;
    QString taskFolder_;
    QString itemFile_;

    QLabel* header_;
    QStackedWidget* pages_;
    sddll_SelectOS* selection_;
    sddll_SelectPaths* paths_;
    sddll_FileCopy* copy_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* cancel_;
    QPushButton* tryAgain_;
    QPushButton* openFolder_;

    bool finished_ = false; // the copy ended: the Cancel button reads "Finish"
    bool completed_ = false;
    bool closing_ = false;
    bool removeTarget_ = false;
    bool targetExistedBefore_ = false;
    bool workerRunning_ = false;
    std::unique_ptr<sd_ProgressSignals> relay_;
    std::unique_ptr<sd_filecopy> engine_;
    std::unique_ptr<QThread> worker_;
};
