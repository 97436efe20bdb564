// The wizard's copy page: the disc and overall progress bars, the file being copied, the target folder
// and the status box. Its slots are the copy engine's update operations, delivered on the window's
// thread.
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;

class sddll_FileCopy : public QWidget {
    Q_OBJECT
public:
    explicit sddll_FileCopy(QWidget* parent = nullptr);

    // Before a copy: disc bar from 1, overall bar from 0, status box and current file cleared.
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
    void copyEnded();

private:
    QLabel* item_;
    QProgressBar* discBar_;
    QProgressBar* overallBar_;
    QLabel* currentFile_;
    QLabel* bytes_;
    QLabel* target_;
    QPlainTextEdit* status_;
};
