// Test doubles for the stagedesk core: a platform with injectable faults and a volume of chosen
// size, scripted answers to questions, a recorder of progress calls, and a small kit tree.
#pragma once

#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/core/sd_platform.h"
#include "stagedesk/core/sd_progress.h"
#include "stagedesk/core/sd_prompt.h"
#include "support/TempDir.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <vector>

class FakePlatform : public sd_platform {
public:
    qint64 volumeMegabytes = 700;
    qint64 freeBytes = 100000LL * 1048576;
    bool volumeValid = true;
    int listFailures = 0; // the next ListFolder calls fail with listFailure
    sd_FsStatus listFailure = sd_FsStatus::IoError;
    sd_FsStatus removeTreeFailure = sd_FsStatus::Ok;
    sd_FsStatus removeFileFailure = sd_FsStatus::Ok;
    std::map<QString, std::pair<int, sd_FsStatus>> copyFailures; // file name => (failures left, status)
    std::function<void(const QString&)> beforeCopy;
    int listCalls = 0, sleeps = 0, copyAttempts = 0;

    sd_FsResult ListFolder(const QString& folder, QStringList& folders, QStringList& files) override;
    sd_FsResult CopyFileData(const QString& source, const QString& target, sd_CopiedFile* copied,
                             sd_SourceRead* read = nullptr) override;
    sd_FsResult RemoveTree(const QString& path) override;
    sd_FsResult RemoveFile(const QString& path) override;
    sd_Volume VolumeOf(const QString& path) override;
    void Sleep(int) override { ++sleeps; }
};

struct AskedQuestion {
    QString text, caption;
    sd_prompt::Buttons buttons;
    QString details;
};

// Answers by caption, in order; a question without a scripted answer gets the negative one.
class ScriptedPrompt : public sd_prompt {
public:
    std::map<QString, std::deque<Answer>> answers;
    std::vector<AskedQuestion> asked;
    std::function<void(const AskedQuestion&)> onAsk; // e.g. a disc put in before the answer

    Answer Ask(const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    Answer AskWithDetails(const QString& text, const QString& caption, Buttons buttons, Icon icon,
                          const QString& details) override;
    int Count(const QString& caption) const;
    QStringList Texts(const QString& caption) const;
};

// Records each call as "kind:detail" ("status:Copying: X", "abort:...", "init:1,4,0,8,X").
class RecordingProgress : public sd_progress {
public:
    QStringList calls;
    int progressCalls = 0, steps = 0;

    void UpdateProgress(int step, const QString& file) override;
    void UpdateStatus(const QString& text) override { calls << "status:" + text; }
    void AbortCopy(const QString& text) override { calls << "abort:" + text; }
    void FinishedCopy(const QString& text) override { calls << "finish:" + text; }
    void UpdateTargetText(const QString& text) override { calls << "target:" + text; }
    // Kept apart from calls, which tell the order of the Part's updates.
    void UpdateBytes(qint64 copied, qint64 total, qint64 secondsLeft) override {
        bytes.push_back({copied, total, secondsLeft});
    }
    struct Bytes {
        qint64 copied, total, secondsLeft;
    };
    std::vector<Bytes> bytes;
    void InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                      const QString& itemName) override;
    QStringList Kind(const QString& kind) const; // the details of one kind of call
};

// A kit tree in a temporary folder: kit/stagedesk (home, with xml/), kit/dostk, and media/.
class TestKit {
public:
    TestKit();
    QString Home() const { return Path("kit/stagedesk"); }
    QString Base() const { return Path("kit"); }
    QString Path(const QString& relative) const;
    void Write(const QString& relative, const QString& content) const;
    bool Exists(const QString& relative) const;
    // Writes an item description file into the home's xml folder.
    void Item(const QString& name, const QString& xml) const { Write("kit/stagedesk/xml/" + name, xml); }
    sd_CopyJob Job(const QString& itemFile, const QString& media, const QString& destination = "DEST") const;

private:
    TempDir dir_;
};

QString Read(const QString& path);

// Failed expectations show texts as texts.
void PrintTo(const QString& text, std::ostream* out);

#ifndef _WIN32
// While it lives, writes of this process (and of the programs it starts) past maxBytes of a file fail
// with "File too large", as writes fail on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long maxBytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long saved_;
    void (*savedHandler_)(int);
};
#endif
