// A copy that reads ahead must leave what a copy that reads each file in its turn leaves: the same
// outcome, lines, files and manifests, whatever file fails and wherever it stops.
#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/core/sd_manifest.h"
#include "stagedesk/core/sd_newfile.h"
#include "stagedesk/core/sd_readahead.h"

#include "sd_fakes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using Answer = sd_prompt::Answer;

constexpr int kFiles = 60;

QString FileName(int i) {
    return QString("f%1.txt").arg(i, 3, 10, QChar('0'));
}

// One disc of kFiles files in two folders, each file with its own content.
void WriteDisc(TestKit& kit) {
    kit.Item(
        "one.xml",
        "<item><name>Many</name><media_name>Many CD</media_name><size>1</size>"
        "<media_quantity>1</media_quantity><cd><media number=\"1\"><media_copy><directory><path>\\</path>"
        "<target>\\</target></directory></media_copy></media></cd></item>");
    for (int i = 0; i < kFiles; ++i)
        kit.Write(QString("drive/%1/%2").arg(i < kFiles / 2 ? "a" : "b", FileName(i)),
                  QString("content %1 ").arg(i).repeated(i + 1));
}

QStringList FilesBelow(const QString& folder) {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QStringList PartialFiles(const QString& partialManifest) {
    QFile file(partialManifest);
    sd_PartialCopy partial;
    if (!file.open(QIODevice::ReadOnly) || !sd::ParsePartial(file.readAll(), partial))
        return {};
    QStringList files;
    for (const sd_ManifestEntry& entry : partial.files)
        files << entry.path;
    files.sort();
    return files;
}

struct RunResult {
    sd_CopyOutcome outcome = sd_CopyOutcome::Aborted;
    QStringList lines; // status, abort and finish calls, in order
    int steps = 0, copyAttempts = 0;
    QStringList files, partialFiles;
    QString manifest;
};

using Arrange = std::function<void(FakePlatform&, ScriptedPrompt&, sd_filecopy&)>;

// Runs the copy of the disc into a new DEST, the faults arranged first.
RunResult RunCopy(TestKit& kit, bool readAhead, const Arrange& arrange) {
    QDir(kit.Path("kit/os")).removeRecursively();
    FakePlatform platform;
    ScriptedPrompt prompt;
    RecordingProgress progress;
    sd_filecopy engine(kit.Job("one.xml", "drive"), prompt, progress, platform);
    engine.SetReadAhead(readAhead);
    arrange(platform, prompt, engine);
    RunResult result;
    result.outcome = engine.Run();
    for (const QString& call : progress.calls) {
        if (call.startsWith("status:") || call.startsWith("abort:") || call.startsWith("finish:"))
            result.lines << call;
    }
    result.steps = progress.steps;
    result.copyAttempts = platform.copyAttempts;
    result.files = FilesBelow(kit.Path("kit/os/DEST"));
    result.partialFiles = PartialFiles(kit.Path("kit/os/DEST.sha256.partial"));
    result.manifest = Read(kit.Path("kit/os/DEST.sha256"));
    return result;
}

TEST(ReadAheadCopy, LeavesWhatACopyThatReadsEachFileInItsTurnLeaves) {
    struct Case {
        const char* what;
        Arrange arrange;
        sd_CopyOutcome outcome;
        int filesLeft; // of the disc's files, in copy order
    };
    const Case cases[] = {
        {"a whole copy", [](FakePlatform&, ScriptedPrompt&, sd_filecopy&) {}, sd_CopyOutcome::Completed,
         kFiles},
        {"a file that cannot be copied, early",
         [](FakePlatform& platform, ScriptedPrompt&, sd_filecopy&) {
             platform.copyFailures[FileName(2)] = {1, sd_FsStatus::AccessDenied};
         },
         sd_CopyOutcome::Aborted, 2},
        {"a file that cannot be copied, midway",
         [](FakePlatform& platform, ScriptedPrompt&, sd_filecopy&) {
             platform.copyFailures[FileName(37)] = {1, sd_FsStatus::AccessDenied};
         },
         sd_CopyOutcome::Aborted, 37},
        {"read errors that a silent retry gets past",
         [](FakePlatform& platform, ScriptedPrompt&, sd_filecopy&) {
             platform.copyFailures[FileName(20)] = {3, sd_FsStatus::IoError};
         },
         sd_CopyOutcome::Completed, kFiles},
        {"read errors until Cancel",
         [](FakePlatform& platform, ScriptedPrompt& prompt, sd_filecopy&) {
             platform.copyFailures[FileName(50)] = {4, sd_FsStatus::IoError};
             prompt.answers["Error Reading File"] = {Answer::Cancel};
         },
         sd_CopyOutcome::Aborted, 50},
        {"the last file cannot be copied",
         [](FakePlatform& platform, ScriptedPrompt&, sd_filecopy&) {
             platform.copyFailures[FileName(kFiles - 1)] = {1, sd_FsStatus::Other};
         },
         sd_CopyOutcome::Aborted, kFiles - 1},
        {"a stop while the tenth file is copied",
         [](FakePlatform& platform, ScriptedPrompt&, sd_filecopy& engine) {
             platform.beforeCopy = [&platform, &engine](const QString&) {
                 if (platform.copyAttempts == 10)
                     engine.Stop();
             };
         },
         sd_CopyOutcome::Stopped, 10},
        {"a source changed after the copy started",
         [&](FakePlatform& platform, ScriptedPrompt&, sd_filecopy&) {
             platform.beforeCopy = [](const QString& source) {
                 if (source.endsWith(FileName(0))) {
                     QFile later(QFileInfo(source).path() + "/" + FileName(5));
                     later.open(QIODevice::Append);
                     later.write("and more");
                 }
             };
         },
         sd_CopyOutcome::Completed, kFiles},
    };
    for (const Case& c : cases) {
        TestKit kit;
        WriteDisc(kit);
        const RunResult inTurn = RunCopy(kit, false, c.arrange);
        ASSERT_EQ(inTurn.outcome, c.outcome) << c.what;
        ASSERT_EQ(inTurn.files.size(), c.filesLeft) << c.what;
        WriteDisc(kit);
        const RunResult ahead = RunCopy(kit, true, c.arrange);
        EXPECT_EQ(ahead.outcome, inTurn.outcome) << c.what;
        EXPECT_EQ(ahead.lines, inTurn.lines) << c.what;
        EXPECT_EQ(ahead.steps, inTurn.steps) << c.what;
        EXPECT_EQ(ahead.copyAttempts, inTurn.copyAttempts) << c.what;
        EXPECT_EQ(ahead.files, inTurn.files) << c.what;
        EXPECT_EQ(ahead.partialFiles, inTurn.partialFiles) << c.what;
        EXPECT_EQ(ahead.manifest, inTurn.manifest) << c.what;
    }
}

QStringList TargetsOf(const QStringList& sources, const QString& from, const QString& to) {
    QStringList targets;
    for (const QString& source : sources)
        targets << to + source.mid(from.size());
    return targets;
}

// Files are given in the announced order only, each read whole, hashed and written under a temporary
// name beside its target; a file that cannot be read whole is left to its copy, one whose target exists
// keeps its bytes, and a new announcement or the end removes what was made and not taken.
TEST(ReadAhead, MakesTheAnnouncedFilesInTheirOrder) {
    TestKit kit;
    WriteDisc(kit);
    QStringList sources;
    for (int i = 0; i < kFiles; ++i)
        sources << kit.Path(QString("drive/%1/").arg(i < kFiles / 2 ? "a" : "b") + FileName(i));
    sources.insert(3, kit.Path("drive/missing.txt"));
    const QStringList targets = TargetsOf(sources, kit.Path("drive"), kit.Path("out"));
    QDir().mkpath(kit.Path("out/a"));
    QDir().mkpath(kit.Path("out/b"));
    kit.Write("out/a/" + FileName(5), "there before");
    {
        sd_ReadAhead ahead(sd_platform::Real());
        ahead.Announce(sources, targets);
        EXPECT_EQ(ahead.Take(sources[1]), nullptr); // not the next one
        for (const QString& source : sources) {
            std::unique_ptr<sd_SourceRead> read = ahead.Take(source);
            if (source.endsWith("missing.txt")) {
                EXPECT_EQ(read, nullptr);
                continue;
            }
            ASSERT_NE(read, nullptr) << source.toStdString();
            const QByteArray bytes = Read(source).toUtf8();
            const QByteArray sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
            EXPECT_EQ(read->sha256, sha256);
            if (source.endsWith(FileName(5))) {
                EXPECT_TRUE(read->temporary.isEmpty());
                EXPECT_EQ(read->bytes, bytes);
                continue;
            }
            EXPECT_TRUE(read->bytes.isEmpty()) << "kept in memory once written";
            EXPECT_EQ(QFileInfo(read->temporary).path(), QFileInfo(targets[sources.indexOf(source)]).path());
            EXPECT_EQ(Read(read->temporary).toUtf8(), bytes);
            EXPECT_EQ(read->made.sha256, sha256);
            EXPECT_EQ(read->made.size, bytes.size());
            ahead.Discard(std::move(read));
        }
        EXPECT_EQ(ahead.Take(sources.last()), nullptr); // taken already
        EXPECT_EQ(FilesBelow(kit.Path("out")), QStringList{"a/" + FileName(5)});

        ahead.Announce(sources.mid(10, 2), targets.mid(10, 2));
        EXPECT_TRUE(ahead.Take(sources[11]) == nullptr);
        std::unique_ptr<sd_SourceRead> first = ahead.Take(sources[10]);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->made.size, QFileInfo(sources[10]).size());
        ahead.Discard(std::move(first));
        ahead.Announce(sources.mid(20, 8), targets.mid(20, 8)); // the list before is dropped
        ahead.Discard(ahead.Take(sources[20]));
    }
    EXPECT_EQ(FilesBelow(kit.Path("out")), QStringList{"a/" + FileName(5)});
}

// Counts the reads, each of a file of a few bytes, without a file system.
class CountingPlatform : public sd_platform {
public:
    std::atomic<int> reads{0};
    bool ReadSource(const QString& source, qint64, sd_SourceRead& read) override {
        read.bytes = source.toUtf8();
        ++reads;
        return true;
    }
    bool WriteAhead(sd_SourceRead&, const QString&) override { return false; }
};

// Waits, at most a few seconds, until the reads reach the count; the count reached.
int ReadsReaching(const CountingPlatform& platform, int count) {
    for (int waited = 0; platform.reads < count && waited < 5000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return platform.reads;
}

// A full read-ahead waits until half of its room is free, then fills it again: the reading thread
// wakes once for a run of files, not once for every file the copy takes.
TEST(ReadAhead, ReadsAgainOnlyWhenHalfOfItsRoomIsFree) {
    CountingPlatform platform;
    QStringList sources;
    for (int i = 0; i < 4 * sd_ReadAhead::kFiles; ++i)
        sources << QString("/disc/%1").arg(i);
    sd_ReadAhead ahead(platform);
    ahead.Announce(sources, sources);
    ASSERT_EQ(ReadsReaching(platform, sd_ReadAhead::kFiles), sd_ReadAhead::kFiles);
    int taken = 0;
    for (; taken < sd_ReadAhead::kFiles / 2 - 1; ++taken)
        ASSERT_NE(ahead.Take(sources[taken]), nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(platform.reads, sd_ReadAhead::kFiles) << "read again before half the room was free";
    ASSERT_NE(ahead.Take(sources[taken++]), nullptr);
    EXPECT_EQ(ReadsReaching(platform, sd_ReadAhead::kFiles + taken), sd_ReadAhead::kFiles + taken);
    for (; taken < sources.size(); ++taken) {
        const std::unique_ptr<sd_SourceRead> read = ahead.Take(sources[taken]);
        ASSERT_NE(read, nullptr) << taken;
        EXPECT_EQ(read->bytes, sources[taken].toUtf8());
    }
}

TEST(RealPlatform, ReadsASourceWholeUpToTheLimitOnly) {
    TestKit kit;
    const qint64 limit = 4096;
    for (const qint64 size : {qint64(0), qint64(1), limit - 1, limit, limit + 1, 3 * limit}) {
        kit.Write("src/f.bin", QString(size, 'x'));
        sd_SourceRead read;
        const bool whole = sd_platform::Real().ReadSource(kit.Path("src/f.bin"), limit, read);
        EXPECT_EQ(whole, size <= limit) << size;
        if (whole) {
            EXPECT_EQ(read.bytes, QByteArray(size, 'x')) << size;
        }
    }
}

// A file made ahead takes its target's name only while nothing is there: a file that appeared there in
// the meantime is kept, and the one made ahead is removed.
TEST(RealPlatform, PutsAFileMadeAheadInPlaceOnlyWhereNothingIs) {
    TestKit kit;
    kit.Write("src/f.txt", "source bytes");
    QDir().mkpath(kit.Path("out"));
    const QString source = kit.Path("src/f.txt"), target = kit.Path("out/f.txt");
    for (const bool madeMeanwhile : {false, true}) {
        QFile::remove(target);
        sd_SourceRead read;
        ASSERT_TRUE(sd_platform::Real().ReadSource(source, 4096, read));
        read.sha256 = "digest";
        ASSERT_TRUE(sd_platform::Real().WriteAhead(read, target));
        if (madeMeanwhile)
            kit.Write("out/f.txt", "made meanwhile");
        sd_CopiedFile copied;
        const sd_FsResult result = sd_platform::Real().CopyFileData(source, target, &copied, &read);
        EXPECT_EQ(result.status, madeMeanwhile ? sd_FsStatus::Exists : sd_FsStatus::Ok) << madeMeanwhile;
        EXPECT_EQ(Read(target), madeMeanwhile ? "made meanwhile" : "source bytes");
        EXPECT_EQ(copied.sha256, madeMeanwhile ? QByteArray() : QByteArray("digest"));
        EXPECT_EQ(FilesBelow(kit.Path("out")), QStringList{"f.txt"}) << "a temporary file was left";
    }
    kit.Write("out/g.txt", "moved");
    const std::error_code refused = sd::RenameNew(kit.Path("out/g.txt").toStdString(), target.toStdString());
    EXPECT_EQ(refused, std::errc::file_exists);
    EXPECT_EQ(Read(target), "made meanwhile");
    EXPECT_EQ(Read(kit.Path("out/g.txt")), "moved");
}

} // namespace
