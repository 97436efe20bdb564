#include "stagedesk/ui/frm_OSFiles.h"

#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_destination.h"
#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_progresssignals.h"
#include "stagedesk/core/sd_statuslog.h"
#include "stagedesk/core/sd_xml.h"
#include "stagedesk/ui/sd_kitsession.h"
#include "stagedesk/ui/sd_taskpictures.h"
#include "stagedesk/ui/sddll_FileCopy.h"
#include "stagedesk/ui/sddll_SelectOS.h"
#include "stagedesk/ui/sddll_SelectPaths.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

namespace {

constexpr const char* kPathsHeader = "Choose Your Source and Destination Paths...";
constexpr int kDosNameLength = 8;

} // namespace

frm_OSFiles::frm_OSFiles(sd_Task task, sd_KitSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), task_(task), session_(session), prompt_(session.boxes, this) {
    const sd_TaskInfo& info = TaskInfo(task);
    setWindowTitle(info.windowTitle);
    setWindowIcon(TaskPicture(task));
    resize(560, 460);

    header_ = new QLabel(this);
    header_->setObjectName("header");
    header_->setStyleSheet("background: white; font-weight: bold; font-size: 14px; padding: 14px;");
    pages_ = new QStackedWidget(this);
    selection_ = new sddll_SelectOS(session_.xml, pages_);
    paths_ = new sddll_SelectPaths(session_.xml, pages_);
    copy_ = new sddll_FileCopy(pages_);
    for (QWidget* page :
         {static_cast<QWidget*>(selection_), static_cast<QWidget*>(paths_), static_cast<QWidget*>(copy_)})
        pages_->addWidget(page);
    back_ = new QPushButton("<- &Back", this);
    next_ = new QPushButton("&Next ->", this);
    cancel_ = new QPushButton("&Cancel", this);
    tryAgain_ = new QPushButton("&Try Again", this);
    openFolder_ = new QPushButton("&Open Folder", this);
    back_->setObjectName("back");
    next_->setObjectName("next");
    cancel_->setObjectName("cancel");
    tryAgain_->setObjectName("tryAgain");
    openFolder_->setObjectName("openFolder");
    // A focused button takes Enter itself; otherwise the default button does (keyPressEvent).
    for (QPushButton* button : {back_, next_, cancel_, tryAgain_, openFolder_})
        button->setAutoDefault(true);
    next_->setDefault(true);
    tryAgain_->hide();
    openFolder_->hide();

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(tryAgain_);
    buttons->addWidget(openFolder_);
    buttons->addStretch();
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addSpacing(12);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(header_);
    layout->addWidget(pages_, 1);
    layout->addWidget(line);
    auto* buttonRow = new QWidget(this);
    buttonRow->setLayout(buttons);
    layout->addWidget(buttonRow);

    connect(selection_, &sddll_SelectOS::typeChanged, this, [this] { next_->setEnabled(false); });
    connect(selection_, &sddll_SelectOS::itemChosen, this, &frm_OSFiles::OnItemChosen);
    connect(paths_, &sddll_SelectPaths::sourceChanged, this, &frm_OSFiles::UpdateNextOnPaths);
    connect(paths_, &sddll_SelectPaths::destinationChanged, this, &frm_OSFiles::UpdateNextOnPaths);
    connect(copy_, &sddll_FileCopy::copyEnded, this, &frm_OSFiles::OnCopyEnded);
    connect(next_, &QPushButton::clicked, this, &frm_OSFiles::Next);
    connect(back_, &QPushButton::clicked, this, &frm_OSFiles::Back);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
    connect(tryAgain_, &QPushButton::clicked, this, &frm_OSFiles::TryAgain);
    connect(openFolder_, &QPushButton::clicked, this, &frm_OSFiles::OpenFolder);

    baseDirectory_ = session_.xml.GetXPathXML("//base_toolkit_dir", "stagedesk.xml");
    editions_ = ReadEditions(session_.xml);
    paths_->LimitDestination(editions_.winpe.installed ? 0 : kDosNameLength);
    header_->setText(info.selectionHeader);
    taskFolder_ = TaskFolder(session_.xml, task);
    selection_->SetPrompts(info.firstPrompt, info.secondPrompt);
    selection_->sddll_OSSelection_Set(info.categoryName);
    pages_->setCurrentWidget(selection_);
    back_->setEnabled(false);
    next_->setEnabled(false);
    selection_->SelectFirstType();
    selection_->FocusTypes();
}

frm_OSFiles::~frm_OSFiles() {
    if (!workerRunning_)
        return;
    // The program is ending: the worker stops after its current file. It may be waiting for a question
    // that only this thread can answer, so those are answered (negatively) while waiting.
    prompt_.Dismiss();
    engine_->Stop();
    while (!worker_->wait(QDeadlineTimer(20)))
        QCoreApplication::sendPostedEvents(&prompt_, QEvent::MetaCall);
}

void frm_OSFiles::OnItemChosen(const QString& item) {
    if (!LookUpItem(item)) {
        next_->setEnabled(false);
        return;
    }
    const sd_TaskInfo& info = TaskInfo(task_);
    paths_->SetDestinationNote(info.destinationNotePrefix,
                               sd::ShownPath(sd::KitPath(baseDirectory_ + info.folderShown)));
    paths_->SetDestination(session_.xml.GetXPathXML("//default_path", itemFile_));
    paths_->SetItemFile(itemFile_);
    paths_->CheckDisableTarget();
    next_->setEnabled(true);
    paths_->SetSource(QString());
    paths_->SetSourcePrompt("Please provide the location of the " +
                            session_.xml.GetXPathXML("//media_name", itemFile_) + ":");
}

// The item's description file; a message when the configuration names none or it cannot be read.
bool frm_OSFiles::LookUpItem(const QString& item) {
    itemFile_ = ItemFile(session_.xml, task_, item);
    if (!itemFile_.isNull() && session_.xml.Load(itemFile_))
        return true;
    prompt_.Show(itemFile_.isNull() ? "The configuration names no description file for " + item + "."
                                    : session_.xml.LastError(),
                 "File Read Error", sd_prompt::Icon::Error);
    itemFile_.clear();
    return false;
}

// A source needs more than 2 characters; an empty name would copy into the task folder itself.
void frm_OSFiles::UpdateNextOnPaths() {
    if (pages_->currentWidget() != paths_)
        return;
    next_->setEnabled(!itemFile_.isEmpty() && paths_->Source().size() > 2 &&
                      !paths_->Destination().isEmpty());
}

void frm_OSFiles::Next() {
    if (pages_->currentWidget() == selection_)
        ShowPathsPage();
    else if (pages_->currentWidget() == paths_)
        CheckPathsAndStart();
}

void frm_OSFiles::Back() {
    if (pages_->currentWidget() != paths_)
        return;
    pages_->setCurrentWidget(selection_);
    back_->setEnabled(false);
    header_->setText("Choose Your Operating System...");
    next_->setEnabled(selection_->BothSelected());
    selection_->FocusTypes();
}

void frm_OSFiles::ShowPathsPage() {
    pages_->setCurrentWidget(paths_);
    back_->setEnabled(true);
    next_->setEnabled(false);
    header_->setText(kPathsHeader);
    LookUpItem(selection_->SelectedItem());
    UpdateNextOnPaths();
    // Reached by keyboard, the focus would otherwise pass from the disabled Next to Cancel.
    paths_->FocusSource();
}

void frm_OSFiles::CheckPathsAndStart() {
    const QString destination = paths_->Destination();
    if (sd::HasForbiddenText(destination)) {
        prompt_.Show(sd::InvalidCharactersMessage(), sd::kInvalidCharactersCaption, sd_prompt::Icon::Warning);
        paths_->SelectDestination();
        return;
    }
    if (sd::Needs83Question(task_, destination) &&
        prompt_.Ask(sd::k83Question, sd::k83Caption, sd_prompt::Buttons::YesNo,
                    sd_prompt::Icon::Information) != sd_prompt::Answer::Yes) {
        paths_->SelectDestination();
        return;
    }
    if (!QFileInfo(SourceFolder()).isDir()) {
        next_->setEnabled(false);
        prompt_.Show(sd::MissingSourceMessage(paths_->Source()), sd::kMissingSourceCaption,
                     sd_prompt::Icon::Information);
        paths_->SelectSource();
        return;
    }
    if (taskFolder_.trimmed().isEmpty()) {
        // Without its task folder the copy would land in the kit's base folder.
        prompt_.Show(
            "The configuration names no folder for this task. Please reinstall the Torvik Harborline "
            "Kitorium.",
            "File Read Error", sd_prompt::Icon::Error);
        return;
    }
    if (!sd::AcceptSource(session_.platform, session_.xml, CopyJob(), prompt_)) {
        next_->setEnabled(false);
        paths_->SelectSource();
        return;
    }
    StartCopy();
}

sd_CopyJob frm_OSFiles::CopyJob() const {
    return {session_.homeDirectory, itemFile_,           SourceFolder(), paths_->Destination(), taskFolder_,
            baseDirectory_,         editions_.dos.folder};
}

// A relative source is taken from the configurator's folder, which is the current folder.
QString frm_OSFiles::SourceFolder() const {
    return sd::ResolveCase(QDir::cleanPath(QDir::current().absoluteFilePath(sd::KitPath(paths_->Source()))));
}

void frm_OSFiles::StartCopy() {
    header_->setText("Copying Files...");
    pages_->setCurrentWidget(copy_);
    back_->setEnabled(false);
    next_->setEnabled(false);
    copy_->Reset();
    copy_->setFocus(Qt::OtherFocusReason);
    copy_->UpdateStatus(sd::kCheckingSpaceStatus);
    sd::LogStatus(session_.platform, session_.homeDirectory, sd::kCheckingSpaceStatus);
    sd_IOManip io(session_.platform, prompt_);
    if (!sd::HasRoomForItem(io, session_.xml, itemFile_, baseDirectory_, prompt_)) {
        ReturnToPathsPage();
        return;
    }
    const sd_CopyJob job = CopyJob();
    relay_ = std::make_unique<sd_ProgressSignals>();
    connect(relay_.get(), &sd_ProgressSignals::progressUpdated, copy_, &sddll_FileCopy::UpdateProgress);
    connect(relay_.get(), &sd_ProgressSignals::statusUpdated, copy_, &sddll_FileCopy::UpdateStatus);
    connect(relay_.get(), &sd_ProgressSignals::copyAborted, copy_, &sddll_FileCopy::AbortCopy);
    connect(relay_.get(), &sd_ProgressSignals::copyFinished, copy_, &sddll_FileCopy::FinishedCopy);
    connect(relay_.get(), &sd_ProgressSignals::targetTextUpdated, copy_, &sddll_FileCopy::UpdateTargetText);
    connect(relay_.get(), &sd_ProgressSignals::bytesUpdated, copy_, &sddll_FileCopy::UpdateBytes);
    connect(relay_.get(), &sd_ProgressSignals::uiInitialized, copy_, &sddll_FileCopy::InitializeUI);
    engine_ = std::make_unique<sd_filecopy>(job, prompt_, *relay_, session_.platform);
    targetExistedBefore_ = QFileInfo::exists(engine_->CopyTarget());
    worker_.reset(QThread::create([engine = engine_.get()] { engine->Run(); }));
    connect(worker_.get(), &QThread::finished, this, &frm_OSFiles::OnWorkerFinished);
    workerRunning_ = true;
    worker_->start();
}

void frm_OSFiles::ReturnToPathsPage() {
    pages_->setCurrentWidget(paths_);
    back_->setEnabled(true);
    next_->setEnabled(true);
    header_->setText(kPathsHeader);
    paths_->FocusSource();
}

void frm_OSFiles::OnCopyEnded(bool completed) {
    finished_ = true;
    completed_ = completed;
    cancel_->setText("&Finish");
    next_->setDefault(false);
    cancel_->setDefault(true);
}

void frm_OSFiles::OnWorkerFinished() {
    workerRunning_ = false;
    if (!finished_)
        OnCopyEnded(false); // a run that ended without a last status line has ended all the same
    if (closing_) {
        FinishClosing();
        return;
    }
    tryAgain_->setVisible(!completed_);
    openFolder_->setVisible(completed_);
    cancel_->setFocus(Qt::OtherFocusReason);
}

// Back to the paths page with what the user gave, for another run of the copy.
void frm_OSFiles::TryAgain() {
    tryAgain_->hide();
    openFolder_->hide();
    finished_ = false;
    cancel_->setText("&Cancel");
    cancel_->setDefault(false);
    next_->setDefault(true);
    worker_.reset();
    engine_.reset();
    relay_.reset();
    ReturnToPathsPage();
}

void frm_OSFiles::OpenFolder() {
    const QString target = engine_->CopyTarget();
    if (session_.openUrl(QUrl::fromLocalFile(target)))
        return;
    prompt_.Show("No program could be started to open:\n\n" + sd::ShownPath(target), "Unable To Start",
                 sd_prompt::Icon::Warning);
}

void frm_OSFiles::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        QPushButton* button = finished_ ? cancel_ : next_;
        if (button->isEnabled())
            button->click();
        return;
    }
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frm_OSFiles::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!finished_ && !ConfirmClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    if (workerRunning_) {
        // The rest happens when the worker has finished its current file (OnWorkerFinished).
        prompt_.Dismiss();
        engine_->Stop();
        return;
    }
    FinishClosing();
}

// Asked while the worker starts no new file.
bool frm_OSFiles::ConfirmClose() {
    if (workerRunning_)
        engine_->Pause();
    if (prompt_.Ask("Are you sure you wish to exit?", "Closing Wizard", sd_prompt::Buttons::YesNo,
                    sd_prompt::Icon::Warning) != sd_prompt::Answer::Yes) {
        if (engine_)
            engine_->Resume();
        return false;
    }
    removeTarget_ = UserWantsCopyRemoved();
    return true;
}

// Only what this wizard copied is offered for removal: a folder that was there before and that the
// item copies into without questioning it is never removed.
bool frm_OSFiles::UserWantsCopyRemoved() {
    if (!engine_ || !QFileInfo::exists(engine_->CopyTarget()))
        return false;
    if (targetExistedBefore_ && session_.xml.CheckNodeExists("skip_path_check", itemFile_))
        return false;
    return prompt_.Ask("There are files that have been copied.\nDo you wish to keep those files?",
                       "Keep Copied Files?", sd_prompt::Buttons::YesNo,
                       sd_prompt::Icon::Information) == sd_prompt::Answer::No;
}

void frm_OSFiles::FinishClosing() {
    if (removeTarget_) {
        sd_IOManip io(session_.platform, prompt_);
        io.RemoveDirectory(engine_->CopyTarget());
    }
    deleteLater();
}
