// The copy engine: copies one item from a folder or from discs into the kit's tree, as its item
// description file says (disc count, per-disc validation, folders to copy, pre- and post-processing).
//
// Use from a window:
//   sd_filecopy engine(job, prompt, progress);        // made on the window's thread
//   move Run() onto a QThread worker (QThread::create([&] { engine.Run(); }));
//   closing the window: engine.Pause(); ask; then engine.Resume() or engine.Stop();
//   to delete copied files after Stop(), wait for the worker to end first.
// Run() reports only through the prompt and the progress sink; progress is coalesced before it
// reaches the sink. The copy flag is set while the copy may go on; it is cleared by any abort and
// by Stop(). A stopped run ends quietly: no further question, message or status line.
// Pause(), Resume() and Stop() may be called from any thread; the worker honours them between files
// (a file being copied is finished first, no file is started while paused).
#pragma once

#include "stagedesk/core/sd_copyjob.h"
#include "stagedesk/core/sd_platform.h"

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

    static constexpr int kSilentRetries = 3;

private:
    class GuardedPrompt;

    bool RunSteps();
    bool CheckTarget();
    int CountDiscs(); // 0 when the source cannot be read
    bool CopyDisc(int disc, int discCount);
    bool RecogniseDisc(int disc);
    bool CopyFiles(const QString& sourceFolder, const QString& targetFolder, bool showEachTarget);
    bool CopyOneFile(const QString& source, const QString& target);
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
    std::unique_ptr<sd_ProgressCoalescer> progress_;
    std::unique_ptr<sd_xml> xml_;
    std::unique_ptr<sd_IOManip> io_;
    std::unique_ptr<sd_validation> validation_;
    QString copyTarget_;
    QString mediaType_ = "cd";
    QString itemName_;
    std::atomic<bool> copyFlag_{true};
    std::atomic<bool> stopped_{false};
    std::mutex pauseMutex_;
    std::condition_variable pauseChanged_;
    bool paused_ = false;
};
