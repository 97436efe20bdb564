// The copy engine: copies one item from a folder or from discs into the kit's tree, as its item
// description file says (disc count, per-disc validation, folders to copy, pre- and post-processing).
//
// Use from a window:
//   sd_filecopy engine(job, prompt, progress);        // made on the window's thread
//   move Run() onto a QThread worker (QThread::create([&] { engine.Run(); }));
//   closing the window: engine.Pause(); ask; then engine.Resume() or engine.Stop();
//   to delete copied files after Stop(), wait for the worker to end first.
// Run() reports only through the prompt and the progress sink; progress is coalesced before it
// reaches the sink, and every status line is also appended to the log (sd_statuslog.h). Each copied
// file is hashed as it is copied: a completed copy leaves the manifest "<copy target>.sha256", and a
// stopped one the partial manifest from which a later run into the same target may resume
// (sd_copyrecord.h), after the question kResumeCaption. The copy flag is set while the copy may go on; it is
// cleared by any abort and by Stop(). A stopped run ends quietly: no further question, message or status
// line. Pause(), Resume() and Stop() may be called from any thread; the worker honours them between files (a
// file being copied is finished first, no file is started while paused).
#pragma once

#include "stagedesk/core/sd_copyjob.h"
#include "stagedesk/core/sd_platform.h"

#include <QElapsedTimer>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class sd_prompt;
class sd_progress;
class sd_xml;
class sd_IOManip;
class sd_validation;
class sd_ProgressCoalescer;
class sd_LoggedProgress;
class sd_CopyRecord;
class sd_ReadAhead;

enum class sd_CopyOutcome { Completed, Aborted, Stopped };

class sd_filecopy {
public:
    sd_filecopy(const sd_CopyJob& job, sd_prompt& prompt, sd_progress& progress,
                sd_platform& platform = sd_platform::Real());
    ~sd_filecopy();

    // The copy run; call once, on the worker thread.
    sd_CopyOutcome Run();

    void Pause();
    void Resume();
    void Stop();
    const std::atomic<bool>& CopyFlag() const { return copyFlag_; }

    // base directory + "\" + task folder + "\" + destination name.
    QString CopyTarget() const { return copyTarget_; }
    // The most progress calls per second that reach the sink (default 10).
    void SetProgressRate(int callsPerSecond);
    // Whether the next files of a disc are read, hashed and written ahead under temporary names, on
    // threads of their own, while the earlier ones are put in place (default no; call before Run()).
    // Everything else stays as it is.
    void SetReadAhead(bool on) { readAheadOn_ = on; }

    static constexpr int kSilentRetries = 3;
    static constexpr const char* kResumeCaption = "Resume Copy?";

private:
    class GuardedPrompt;

    bool RunSteps();
    bool CheckTarget();
    bool AskResume();
    void StartRecording();
    int CountDiscs(); // 0 when the source cannot be read
    bool CopyDisc(int disc, int discCount);
    bool RecogniseDisc(int disc);
    bool CopyFiles(const QString& sourceFolder, const QString& targetFolder, bool showEachTarget);
    // bytes: the size of the file now at target.
    bool CopyOneFile(const QString& source, const QString& target, qint64& bytes);
    bool CopyOrKeep(const QString& source, const QString& target);
    // Records a file that was there before this run and was left as it was.
    bool RecordExisting(const QString& target);
    void CountBytes(const QStringList& files);
    void FileDone(qint64 bytes, bool copied);
    bool FinishRecord();
    bool PreProcess();
    bool PreProcessFail(const QString& text, bool withReason = false);
    bool PostProcess();
    bool PostCopyDirectories();
    bool PostCopyFiles();
    QString Placeholders(const QString& path) const;
    QString Item(const QString& xpath);
    QStringList Items(const QString& xpath);
    bool HasNode(const QString& name);
    void Abort(const QString& text);
    // Abort() after a failed file service call, with the line that names its path and reason after
    // the abort's own line.
    void AbortWithReason(const QString& text);
    void Status(const QString& text);
    bool IsStopped() const { return stopped_.load(); }
    bool WaitWhilePaused();

    sd_CopyJob job_;
    std::unique_ptr<GuardedPrompt> prompt_;
    sd_platform& platform_;
    std::unique_ptr<sd_LoggedProgress> logged_;
    std::unique_ptr<sd_ProgressCoalescer> progress_;
    std::unique_ptr<sd_xml> xml_;
    std::unique_ptr<sd_IOManip> io_;
    std::unique_ptr<sd_validation> validation_;
    QString copyTarget_;
    QString mediaType_ = "cd";
    QString itemName_;
    std::unique_ptr<sd_CopyRecord> record_;
    bool readAheadOn_ = false;
    std::unique_ptr<sd_ReadAhead> readAhead_; // while Run() runs, when on
    bool recording_ = false;                  // this run owns the partial manifest (the target check passed)
    bool resuming_ = false;
    int disc_ = 0; // the disc being copied; 0 in the post-processing steps
    qint64 bytesCopied_ = 0, bytesTotal_ = 0, bytesThisRun_ = 0;
    QElapsedTimer copyClock_;
    std::atomic<bool> copyFlag_{true};
    std::atomic<bool> stopped_{false};
    std::mutex pauseMutex_;
    std::condition_variable pauseChanged_;
    bool paused_ = false;
};
