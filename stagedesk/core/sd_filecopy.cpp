#include "stagedesk/core/sd_filecopy.h"

#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_coalescer.h"
#include "stagedesk/core/sd_copyrecord.h"
#include "stagedesk/core/sd_destination.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_readahead.h"
#include "stagedesk/core/sd_sha256.h"
#include "stagedesk/core/sd_statuslog.h"
#include "stagedesk/core/sd_temporary.h"
#include "stagedesk/core/sd_validation.h"
#include "stagedesk/core/sd_xml.h"

#include <QFileInfo>

namespace {

constexpr const char* kCopyError = "A File Copy Error Occurred, File Copy Aborted... Click Finish To Exit";

} // namespace

// The engine's questions: the progress shown so far reaches the window before the question, and a
// stopped copy asks nothing more (the negative answer is taken).
class sd_filecopy::GuardedPrompt : public sd_prompt {
public:
    GuardedPrompt(sd_filecopy& engine, sd_prompt& prompt) : engine_(engine), prompt_(prompt) {}

    Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) override {
        if (engine_.IsStopped())
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        engine_.progress_->Flush();
        return prompt_.Ask(text, caption, buttons, icon);
    }

    Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                          const QString& details) override {
        if (engine_.IsStopped())
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        engine_.progress_->Flush();
        return prompt_.AskWithDetails(text, caption, buttons, icon, details);
    }

private:
    sd_filecopy& engine_;
    sd_prompt& prompt_;
};

sd_filecopy::sd_filecopy(const sd_CopyJob& job, sd_prompt& prompt, sd_progress& progress,
                         sd_platform& platform)
    : job_(job), prompt_(std::make_unique<GuardedPrompt>(*this, prompt)), platform_(platform),
      logged_(std::make_unique<sd_LoggedProgress>(progress, platform, job.homeDirectory)),
      progress_(std::make_unique<sd_ProgressCoalescer>(*logged_, 10)),
      xml_(std::make_unique<sd_xml>(job.homeDirectory, platform)),
      io_(std::make_unique<sd_IOManip>(platform, *prompt_)),
      validation_(std::make_unique<sd_validation>(*xml_, *prompt_)) {
    copyTarget_ = sd::CopyTarget(job);
    record_ = std::make_unique<sd_CopyRecord>(platform, copyTarget_, job.itemFile);
    io_->WatchCopyFlag(&copyFlag_);
}

sd_filecopy::~sd_filecopy() = default;

void sd_filecopy::SetProgressRate(int callsPerSecond) {
    progress_->SetRate(callsPerSecond);
}

void sd_filecopy::Pause() {
    std::lock_guard<std::mutex> lock(pauseMutex_);
    paused_ = true;
}

void sd_filecopy::Resume() {
    {
        std::lock_guard<std::mutex> lock(pauseMutex_);
        paused_ = false;
    }
    pauseChanged_.notify_all();
}

void sd_filecopy::Stop() {
    {
        std::lock_guard<std::mutex> lock(pauseMutex_);
        stopped_ = true;
        copyFlag_ = false;
    }
    pauseChanged_.notify_all();
}

bool sd_filecopy::WaitWhilePaused() {
    std::unique_lock<std::mutex> lock(pauseMutex_);
    pauseChanged_.wait(lock, [this] { return !paused_ || stopped_; });
    return !stopped_;
}

void sd_filecopy::Abort(const QString& text) {
    if (!IsStopped())
        progress_->AbortCopy(text);
    copyFlag_ = false;
}

void sd_filecopy::AbortWithReason(const QString& text) {
    Abort(text);
    Status(io_->FailureLine());
}

void sd_filecopy::Status(const QString& text) {
    if (!IsStopped())
        progress_->UpdateStatus(text);
}

QString sd_filecopy::Item(const QString& xpath) {
    return xml_->GetXPathXML(xpath, job_.itemFile);
}

QStringList sd_filecopy::Items(const QString& xpath) {
    return xml_->GetMultiXPathXML(xpath, job_.itemFile) ? xml_->str_XMLData : QStringList();
}

bool sd_filecopy::HasNode(const QString& name) {
    return xml_->CheckNodeExists(name, job_.itemFile);
}

sd_CopyOutcome sd_filecopy::Run() {
    if (readAheadOn_)
        readAhead_ = std::make_unique<sd_ReadAhead>(platform_);
    const bool completed = RunSteps();
    readAhead_.reset();
    if (!completed && recording_) {
        QString ignored; // the partial manifest is best effort: without it a resume copies again
        record_->SavePartial(ignored);
    }
    progress_->Flush();
    if (IsStopped())
        return sd_CopyOutcome::Stopped;
    return completed ? sd_CopyOutcome::Completed : sd_CopyOutcome::Aborted;
}

bool sd_filecopy::RunSteps() {
    if (!xml_->Load(job_.itemFile)) {
        prompt_->Show(xml_->LastError(), "File Read Error", sd_prompt::Icon::Error);
        Abort(kCopyError);
        return false;
    }
    itemName_ = Item("//name[../media_name]");
    // A name that is no folder of its own would make the kit itself the target to replace.
    if (sd::HasForbiddenText(job_.destinationName)) {
        Abort(kCopyError);
        return false;
    }
    if (!CheckTarget())
        return false;
    const int discCount = CountDiscs();
    if (discCount == 0) {
        Abort("Unable To Read From The Selected Source, File Copy Aborted...");
        Status("Click Finish To Exit...");
        return false;
    }
    if (HasNode("pre_processing") && !PreProcess())
        return false;
    for (int disc = 1; disc <= discCount && copyFlag_; ++disc) {
        if (!CopyDisc(disc, discCount))
            return false;
    }
    disc_ = 0;
    if (!copyFlag_ || !PostProcess() || !copyFlag_ || !FinishRecord())
        return false;
    progress_->FinishedCopy("File copy process completed successfully.");
    return true;
}

bool sd_filecopy::FinishRecord() {
    QString failure;
    if (record_->Finish(failure))
        return true;
    Abort(kCopyError);
    Status(failure);
    return false;
}

void sd_filecopy::StartRecording() {
    recording_ = true;
    // The manifests are saved beside the destination folder, under temporary names first.
    sd::RemoveTemporariesIn(platform_, QFileInfo(copyTarget_).path());
    record_->Start();
}

bool sd_filecopy::AskResume() {
    return record_->Unfinished() &&
           prompt_->Ask("A previous copy of " + itemName_ + " into " + sd::ShownPath(copyTarget_) +
                            " did not finish. Resume it?",
                        kResumeCaption, sd_prompt::Buttons::YesNo,
                        sd_prompt::Icon::Question) == sd_prompt::Answer::Yes;
}

bool sd_filecopy::CheckTarget() {
    if (!QFileInfo::exists(copyTarget_)) {
        StartRecording();
        return true;
    }
    if (AskResume()) {
        record_->Resume();
        resuming_ = true;
        StartRecording();
        return true;
    }
    if (HasNode("skip_path_check")) {
        StartRecording();
        return true;
    }
    const sd_prompt::Answer answer = prompt_->Ask(
        "The Directory specified:\n\n" + sd::ShownPath(copyTarget_) +
            "\n\nALready exists. In order to continue, this directory\n must be deleted. Would you "
            "like to remove this directory?",
        "Directory Already Exists", sd_prompt::Buttons::YesNo, sd_prompt::Icon::Question);
    const QString aborted = "Target Directory Already Exists, File Copy Aborted... Click Finish To Exit";
    if (answer != sd_prompt::Answer::Yes) {
        Abort(aborted);
        return false;
    }
    Status("Removing Directories...");
    if (io_->RemoveDirectory(copyTarget_)) {
        StartRecording();
        return true;
    }
    AbortWithReason(aborted);
    return false;
}

int sd_filecopy::CountDiscs() {
    Status("Calculating Media Quantity...");
    if (io_->GetDriveSize(job_.sourcePath) >= 1000) {
        if (Item("//mediaondvd") == "Yes")
            mediaType_ = "dvd";
        return 1;
    }
    QString quantity = Item("//media_quantity");
    if (HasNode("update_media")) {
        const QString folder = sd::JoinPath(job_.sourcePath, Item("//update_media/path"));
        if (validation_->ValidateFile(folder, Item("//update_media/file")))
            quantity = Item("//update_media/media_quantity");
    }
    bool number = false;
    const int count = quantity.trimmed().toInt(&number);
    return number && count > 0 ? count : 0;
}

bool sd_filecopy::RecogniseDisc(int disc) {
    bool valid =
        disc == 1 && validation_->PerformValidation(job_.itemFile, job_.sourcePath, disc, mediaType_);
    const QString mediaName = Item("//media_name");
    bool validated = disc == 1;
    while (!valid) {
        // The first prompt for a later disc comes before any check, so there is no refusal to explain.
        const QString details = validated ? validation_->RefusalDetails() : QString();
        const sd_prompt::Answer answer = prompt_->AskWithDetails(
            "Please insert " + mediaName + " disc " + QString::number(disc), "Insert Disc...",
            sd_prompt::Buttons::OKCancel, sd_prompt::Icon::Question, details);
        if (answer != sd_prompt::Answer::OK) {
            Abort("File Copy Aborted... Click Finish To Exit");
            return false;
        }
        valid = validation_->PerformValidation(job_.itemFile, job_.sourcePath, disc, mediaType_);
        validated = true;
    }
    return true;
}

bool sd_filecopy::CopyDisc(int disc, int discCount) {
    disc_ = disc;
    // A disc that the stopped copy completed is not asked for again.
    if (resuming_ && record_->KeepDisc(disc))
        return true;
    if (!RecogniseDisc(disc))
        return false;
    const QString mediaNode = "//" + mediaType_ + "/media[@number=" + QString::number(disc) + "]";
    const QString sourceFolder = sd::WithTrailingSeparator(
        sd::ResolveCase(sd::JoinPath(job_.sourcePath, Item(mediaNode + "/media_copy/directory/path"))));
    const QString targetFolder = sd::WithTrailingSeparator(
        sd::JoinPath(copyTarget_, Item(mediaNode + "/media_copy/directory/target")));
    io_->SourceDirectory = sourceFolder;
    if (!io_->GetAllFiles()) {
        AbortWithReason(kCopyError); // copying nothing from an unreadable disc is not a success
        return false;
    }
    const int files = int(io_->FileList.size());
    progress_->InitializeUI(1, files, files * (disc - 1), files * discCount, itemName_);
    progress_->UpdateTargetText(sd::ShownPath(targetFolder));
    if (!io_->CreateDirectories(sourceFolder, targetFolder)) {
        AbortWithReason(kCopyError);
        return false;
    }
    if (Item("//media_quantity") == "1")
        Status("Copying: " + itemName_);
    else
        Status("Copying: " + itemName_ + " disc " + QString::number(disc) + " of " +
               QString::number(discCount));
    if (!CopyFiles(sourceFolder, targetFolder, false))
        return false;
    record_->CompleteDisc(disc);
    return true;
}

void sd_filecopy::CountBytes(const QStringList& files) {
    if (!copyClock_.isValid())
        copyClock_.start();
    for (const QString& file : files)
        bytesTotal_ += QFileInfo(file).size();
    progress_->UpdateBytes(bytesCopied_, bytesTotal_, -1);
}

void sd_filecopy::FileDone(qint64 bytes, bool copied) {
    bytesCopied_ += bytes;
    if (copied)
        bytesThisRun_ += bytes;
    const qint64 elapsedMs = copyClock_.elapsed();
    // The speed of this run's own copying; files kept from a stopped run took no time.
    const qint64 secondsLeft = bytesThisRun_ > 0 && elapsedMs >= 1000
                                   ? (bytesTotal_ - bytesCopied_) * elapsedMs / bytesThisRun_ / 1000
                                   : -1;
    progress_->UpdateBytes(bytesCopied_, bytesTotal_, secondsLeft);
}

bool sd_filecopy::CopyFiles(const QString& sourceFolder, const QString& targetFolder, bool showEachTarget) {
    const QStringList files = io_->FileList;
    QStringList targets;
    targets.reserve(files.size());
    for (const QString& file : files)
        targets << targetFolder + file.mid(sourceFolder.size());
    CountBytes(files);
    // A resumed copy keeps files instead of reading them.
    if (readAhead_ && !resuming_)
        readAhead_->Announce(files, targets);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& file = files[i];
        const QString& target = targets[i];
        if (showEachTarget)
            progress_->UpdateTargetText(sd::ShownPath(target));
        progress_->UpdateProgress(1, sd::ShownPath(file));
        if (!WaitWhilePaused() || !copyFlag_)
            return false;
        if (!CopyOrKeep(file, target))
            return false;
    }
    return true;
}

// Resuming, a file that the stopped copy completed and nobody changed since is kept; any other file
// already there is one this run cannot vouch for, and is copied again.
bool sd_filecopy::CopyOrKeep(const QString& source, const QString& target) {
    if (resuming_ && record_->Keep(target, disc_)) {
        FileDone(QFileInfo(target).size(), false);
        return true;
    }
    if (resuming_ && QFileInfo(target).isFile() && !io_->RemoveFile(target)) {
        AbortWithReason(kCopyError);
        return false;
    }
    qint64 bytes = 0;
    if (!CopyOneFile(source, target, bytes))
        return false;
    FileDone(bytes, true);
    return true;
}

bool sd_filecopy::RecordExisting(const QString& target) {
    if (!record_->Inside(target) || !QFileInfo(target).isFile())
        return true;
    QByteArray sha256;
    QString error;
    if (!sd::HashFile(target, sha256, error)) {
        Abort(kCopyError);
        Status("Unable to read " + sd::ShownPath(target) + ": " + error);
        return false;
    }
    record_->Add(target, sha256, disc_);
    return true;
}

bool sd_filecopy::CopyOneFile(const QString& source, const QString& target, qint64& bytes) {
    // Only the first attempt uses what was made ahead; a retry reads again.
    std::unique_ptr<sd_SourceRead> read = readAhead_ ? readAhead_->Take(source) : nullptr;
    int retries = 0;
    for (;;) {
        sd_CopiedFile copy;
        const sd_FsResult copied = io_->CopyFile(source, target, &copy, read.get());
        if (read)
            readAhead_->Discard(std::move(read));
        if (copied.ok() && copy.sha256.isEmpty()) {
            bytes = QFileInfo(source).size();
            return RecordExisting(target);
        }
        if (copied.ok()) {
            bytes = copy.size;
            record_->Add(target, copy, disc_);
            record_->SaveWhenDue();
            return true;
        }
        if (IsStopped())
            return false;
        if (copied.status != sd_FsStatus::IoError) {
            AbortWithReason(kCopyError);
            return false;
        }
        if (retries < kSilentRetries) {
            ++retries;
            continue;
        }
        const sd_prompt::Answer answer =
            prompt_->Ask("An error occurred while trying to read: \n\n" + sd::ShownPath(source) +
                             "\n\nPlease make sure that the media is free from defects and that the drive is "
                             "available. Click "
                             "OK to retry.",
                         "Error Reading File", sd_prompt::Buttons::OKCancel, sd_prompt::Icon::Error);
        if (answer != sd_prompt::Answer::OK) {
            AbortWithReason("A File Copy Error Occurred, User Aborted File Copy. Click Finish To Exit");
            return false;
        }
        retries = 0;
    }
}
