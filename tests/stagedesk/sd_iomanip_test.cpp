#include "stagedesk/core/sd_IOManip.h"

#include "sd_fakes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class IOManipTest : public testing::Test {
protected:
    TestKit kit;
    FakePlatform platform;
    ScriptedPrompt prompt;
    sd_IOManip io{platform, prompt};
};

TEST_F(IOManipTest, ListsDepthFirstFolderByFolderWithTheFilter) {
    for (const char* file :
         {"src/b.txt", "src/A.INF", "src/b/x.txt", "src/a/z/deep.txt", "src/a/y.txt", "src/a/z.inf"})
        kit.Write(file, "x");
    io.SourceDirectory = kit.Path("src/");
    ASSERT_TRUE(io.GetAllFiles());
    const QString root = kit.Path("src");
    EXPECT_EQ(io.DirectoryList, (QStringList{root, root + "/a", root + "/a/z", root + "/b"}));
    EXPECT_EQ(io.FileList, (QStringList{root + "/A.INF", root + "/b.txt", root + "/a/y.txt",
                                        root + "/a/z.inf", root + "/a/z/deep.txt", root + "/b/x.txt"}));

    io.FileFilter = "*.txt";
    io.SearchSubdirectories = false;
    ASSERT_TRUE(io.GetAllFiles());
    EXPECT_EQ(io.DirectoryList, QStringList{root});
    EXPECT_EQ(io.FileList, QStringList{root + "/b.txt"});
}

TEST_F(IOManipTest, ListingRetriesAfterReadFailuresAreBounded) {
    kit.Write("src/a.txt", "x");
    io.SourceDirectory = kit.Path("src");

    platform.listFailures = sd_IOManip::kListingRetries; // the last try succeeds
    EXPECT_TRUE(io.GetAllFiles());
    EXPECT_EQ(io.FileList.size(), 1);
    EXPECT_EQ(platform.sleeps, sd_IOManip::kListingRetries);
    EXPECT_TRUE(prompt.asked.empty());

    platform.sleeps = 0;
    platform.listCalls = 0;
    platform.listFailures = 1000; // a disc that never reads again
    EXPECT_FALSE(io.GetAllFiles());
    EXPECT_EQ(platform.listCalls, 1 + sd_IOManip::kListingRetries);
    EXPECT_TRUE(io.FileList.isEmpty());
    ASSERT_EQ(prompt.Count("Exception Occurred"), 1);
    EXPECT_EQ(prompt.asked[0].text, "The disk could not be read.");
}

TEST_F(IOManipTest, VanishedFolderEmptiesTheListQuietlyOtherFailuresSpeak) {
    kit.Write("src/a.txt", "x");
    io.SourceDirectory = kit.Path("src");
    platform.listFailures = 1;
    platform.listFailure = sd_FsStatus::Missing;
    EXPECT_FALSE(io.GetAllFiles());
    EXPECT_TRUE(io.FileList.isEmpty());
    EXPECT_TRUE(prompt.asked.empty());

    io.SearchSubdirectories = false;
    platform.listFailures = 1;
    platform.listFailure = sd_FsStatus::AccessDenied;
    EXPECT_FALSE(io.GetAllFiles());
    EXPECT_EQ(prompt.Count("Exception Encountered"), 1);
    EXPECT_EQ(platform.sleeps, 0);
}

TEST_F(IOManipTest, CopyFileKeepsExistingTargetsAndMakesCopiesWritable) {
    kit.Write("src/new.txt", "fresh");
    kit.Write("src/old.txt", "fresh");
    kit.Write("dst/old.txt", "kept");
    QFile::setPermissions(kit.Path("src/new.txt"), QFile::ReadOwner | QFile::ReadGroup);

    EXPECT_TRUE(io.CopyFile(kit.Path("src/old.txt"), kit.Path("dst/old.txt")).ok());
    EXPECT_EQ(Read(kit.Path("dst/old.txt")), "kept");
    EXPECT_TRUE(io.CopyFile(kit.Path("src/new.txt"), kit.Path("dst/new.txt")).ok());
    EXPECT_EQ(Read(kit.Path("dst/new.txt")), "fresh");
    EXPECT_TRUE(QFileInfo(kit.Path("dst/new.txt")).permissions() & QFile::WriteOwner);
    EXPECT_TRUE(io.CopyFile(kit.Path("src"), kit.Path("dst/src")).ok()); // a folder is not copied
    EXPECT_FALSE(kit.Exists("dst/src"));
    EXPECT_EQ(io.CopyFile(kit.Path("src/none.txt"), kit.Path("dst/none.txt")).status, sd_FsStatus::Missing);
}

TEST_F(IOManipTest, CreatesTheTreeUnderTheTargetAndRemovesReadOnlyTrees) {
    kit.Write("src/a/b/f.txt", "x");
    kit.Write("src/c/g.txt", "x");
    io.SourceDirectory = kit.Path("src");
    ASSERT_TRUE(io.GetAllFiles());
    ASSERT_TRUE(io.CreateDirectories(kit.Path("src/"), kit.Path("out/copy/")));
    EXPECT_TRUE(kit.Exists("out/copy/a/b"));
    EXPECT_TRUE(kit.Exists("out/copy/c"));

    QFile::setPermissions(kit.Path("src/a/b"), QFile::ReadOwner | QFile::ExeOwner);
    QFile::setPermissions(kit.Path("src/a/b/f.txt"), QFile::ReadOwner);
    EXPECT_TRUE(io.RemoveDirectory(kit.Path("src")));
    EXPECT_FALSE(kit.Exists("src"));
    EXPECT_TRUE(prompt.asked.empty());
}

// A copy that was killed left its file under a temporary name; the next copy into the folder removes it.
TEST_F(IOManipTest, CreatingTheTargetTreeRemovesWhatAnInterruptedCopyLeft) {
    kit.Write("src/a/f.txt", "x");
    const char* leftovers[] = {"dst/~sd00000000.tmp", "dst/a/~sdDEADBEEF.tmp"};
    const char* kept[] = {"dst/~sd0000.tmp", "dst/a/~sddeadbeef.tmp.txt", "dst/a/f.txt",
                          "dst/b/~sd12345678.tmp"};
    for (const char* file : leftovers)
        kit.Write(file, "cut");
    for (const char* file : kept)
        kit.Write(file, "mine");
    QFile::setPermissions(kit.Path(leftovers[1]), QFile::ReadOwner); // copied from read-only media
    io.SourceDirectory = kit.Path("src");
    ASSERT_TRUE(io.GetAllFiles());
    ASSERT_TRUE(io.CreateDirectories(kit.Path("src"), kit.Path("dst")));
    for (const char* file : leftovers)
        EXPECT_FALSE(kit.Exists(file)) << file;
    for (const char* file : kept) // dst/b is no folder of this copy
        EXPECT_TRUE(kit.Exists(file)) << file;
}

TEST_F(IOManipTest, RemovalFailuresShowTheirMessages) {
    kit.Write("busy/f.txt", "x");
    platform.removeTreeFailure = sd_FsStatus::AccessDenied;
    EXPECT_FALSE(io.RemoveDirectory(kit.Path("busy")));
    ASSERT_EQ(prompt.Count("Error Deleting Files"), 1);
    EXPECT_EQ(prompt.asked[0].text,
              "Some files contained within:\n\n" + kit.Path("busy") +
                  "\n\nwere unable to be deleted. You must delete these files manually to continue.");
    platform.removeTreeFailure = sd_FsStatus::Other;
    EXPECT_FALSE(io.RemoveDirectory(kit.Path("busy")));
    EXPECT_EQ(prompt.Texts("An Exception Occurred"), QStringList{"The folder is in use."});
}

TEST_F(IOManipTest, VolumeAnswers) {
    platform.freeBytes = 700LL * 1048576;
    EXPECT_TRUE(io.CheckDriveFreespace("/kit", 700));
    platform.freeBytes = 700LL * 1048576 - 104858; // 699.9 MB
    EXPECT_FALSE(io.CheckDriveFreespace("/kit", 700));
    EXPECT_TRUE(io.CheckDriveFreespace("/kit", 699));

    platform.volumeMegabytes = 4489;
    EXPECT_EQ(io.GetDriveSize("/media/dvd"), 4489);
    EXPECT_TRUE(prompt.asked.empty());
    platform.volumeValid = false;
    EXPECT_EQ(io.GetDriveSize("/media/dvd"), 0);
    EXPECT_EQ(prompt.Texts("An Exception Occurred"), QStringList{"The device is not ready."});
}

// The record of a copied file is taken from the copy itself, so it must say what a later look at the
// file says: the sizes around the copy buffer's (1 MiB) and a source that its owner cannot write.
TEST(RealPlatform, HashedCopyDescribesTheFileItMade) {
    const struct {
        qint64 size;
        bool readOnlySource;
    } cases[] = {{0, false}, {1, true}, {1 << 20, false}, {(1 << 20) + 1, true}, {3 * (1 << 20) - 7, false}};
    for (const auto& c : cases) {
        TestKit kit;
        QByteArray bytes(c.size, Qt::Uninitialized);
        for (qint64 i = 0; i < c.size; ++i)
            bytes[i] = char(i * 7 + i / 4096);
        QDir().mkpath(kit.Path("src"));
        QDir().mkpath(kit.Path("out"));
        QFile source(kit.Path("src/f.bin"));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(bytes);
        source.close();
        if (c.readOnlySource)
            QFile::setPermissions(source.fileName(), QFile::ReadOwner | QFile::ReadGroup);

        sd_CopiedFile copied;
        ASSERT_TRUE(sd_platform::Real().CopyFileData(source.fileName(), kit.Path("out/f.bin"), &copied).ok());
        const QFileInfo made(kit.Path("out/f.bin"));
        EXPECT_EQ(copied.sha256, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())
            << c.size;
        EXPECT_EQ(copied.size, c.size);
        EXPECT_EQ(made.size(), c.size);
        EXPECT_EQ(copied.modifiedMs, made.lastModified().toMSecsSinceEpoch()) << c.size;
        // The source's bits, made writable and readable by the owner.
        const QFile::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        EXPECT_EQ(made.permissions() & kept,
                  (QFileInfo(source.fileName()).permissions() | QFile::ReadOwner | QFile::WriteOwner) & kept)
            << c.size;
    }
}

#ifndef _WIN32
// A copy that fails midway must not leave a partial file: the retry would take it for a finished one.
TEST(RealPlatform, FailedCopyLeavesNoPartialTarget) {
    TestKit kit;
    kit.Write("src/big.bin", QString(1 << 20, 'x'));
    QDir().mkpath(kit.Path("out"));
    sd_FsResult copied;
    {
        FileSizeLimit full(64 * 1024);
        copied = sd_platform::Real().CopyFileData(kit.Path("src/big.bin"), kit.Path("out/big.bin"), nullptr);
    }
    EXPECT_FALSE(copied.ok());
    EXPECT_EQ(copied.message, "File too large");
    EXPECT_FALSE(kit.Exists("out/big.bin"));
    EXPECT_TRUE(QDir(kit.Path("out")).isEmpty()); // nor its temporary file
}
#endif

} // namespace
