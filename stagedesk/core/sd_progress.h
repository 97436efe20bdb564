// The update operations through which the copy engine reports to the copy page.
//
// The engine calls them on its worker thread, never waiting for them. A window implementation must
// carry each call over to the window's thread without blocking (sd_ProgressSignals does this with
// queued signals). UpdateStatus, AbortCopy and FinishedCopy append one status line each:
// sd::StatusLine(text). The engine coalesces UpdateProgress and UpdateTargetText (sd_ProgressCoalescer),
// so a large copy reaches the sink a few times a second, not once per file.
#pragma once

#include <QString>

class sd_progress {
public:
    virtual ~sd_progress() = default;

    // Both progress bars advance by step; the current-file label shows file.
    virtual void UpdateProgress(int step, const QString& file) = 0;
    // Appends a status line.
    virtual void UpdateStatus(const QString& text) = 0;
    // The copy ended without completing: the Cancel button reads "Finish", text is appended as a status line.
    virtual void AbortCopy(const QString& text) = 0;
    // The copy completed: the Cancel button reads "Finish", text is appended as a status line.
    virtual void FinishedCopy(const QString& text) = 0;
    // Bytes copied of the total known so far (the files listed up to now), and the seconds the rest is
    // expected to take at the speed so far (-1 until there is a speed to tell).
    virtual void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) = 0;
    // The target label shows text.
    virtual void UpdateTargetText(const QString& text) = 0;
    // Sets the disc bar (value, maximum) and the overall bar (value, maximum) for the item.
    virtual void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                              const QString& itemName) = 0;
};
