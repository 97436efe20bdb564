// The wizard's copy page: the disc and overall progress bars, the file being copied, the target folder
// and the status box. Its slots are the copy engine's update operations, delivered on the window's
// thread.
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class sd_PathLabel;

class sddll_FileCopy : public QWidget {
    Q_OBJECT
public:
    explicit sddll_FileCopy(QWidget* parent = nullptr);

    // Before a copy: both bars empty until the first disc's files are counted, status box and current
    // file cleared.
    void Reset();

public slots:
    void UpdateProgress(int step, const QString& file);
    void UpdateStatus(const QString& text);
    void AbortCopy(const QString& text);
    void FinishedCopy(const QString& text);
    void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft);
    void UpdateTargetText(const QString& text);
    void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                      const QString& itemName);

signals:
    // The copy ended, completed or not.
    void copyEnded(bool completed);

private:
    QLabel* item_;
    QProgressBar* discBar_;
    QProgressBar* overallBar_;
    sd_PathLabel* currentFile_;
    QLabel* bytes_;
    sd_PathLabel* target_;
    QPlainTextEdit* status_;
};
