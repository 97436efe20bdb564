// The copy's record: the manifest of a completed copy, the partial one of a stopped copy, resuming
// from it, the byte progress and the status log.
#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/core/sd_manifest.h"
#include "stagedesk/core/sd_statuslog.h"

#include "sd_fakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using Answer = sd_prompt::Answer;

// As sha256sum gives them.
const QString kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const QString kDisc1 = "844fd10f00ac738c2d76ccd9af019694f667e72fc74648df9d6f87d709b0e4d2";
const QString kDisc2 = "3d2f9c346c026410e7a7ec0fbdb858e395ea5dcd7da34c458758c7c19c10b782";
const QString kDisc3 = "23464b75b2782a8114587ce50105355f3d84bb0c96255f6cb11179de38419f97";

QString Disc(int number) {
    const QString n = QString::number(number);
    return "<media number=\"" + n +
           "\"><media_copy><directory><path>\\</path><target>\\</target></directory></media_copy>"
           "<validation><file><name>DISC" +
           n + ".TAG</name><path/></file></validation></media>";
}

class CopyRecordTest : public testing::Test {
protected:
    void SetUp() override {
        kit.Item("three.xml", "<item><name>Three</name><media_name>Three CD</media_name><size>1</size>"
                              "<media_quantity>3</media_quantity><cd>" +
                                  Disc(1) + Disc(2) + Disc(3) + "</cd></item>");
        InsertDisc(1);
        prompt.onAsk = [&](const AskedQuestion& question) {
            if (question.caption == "Insert Disc..." && nextDisc <= 3)
                InsertDisc(nextDisc++);
        };
    }
    void InsertDisc(int number) {
        QDir(kit.Path("drive")).removeRecursively();
        const QString n = QString::number(number);
        kit.Write("drive/DISC" + n + ".TAG", "disc " + n);
        kit.Write("drive/d" + n + "/file" + n + ".txt", "abc");
    }
    sd_CopyOutcome Run() {
        sd_filecopy engine(kit.Job("three.xml", "drive"), prompt, progress, platform);
        return engine.Run();
    }
    QString Target(const QString& relative = QString()) const {
        return kit.Path("kit/os/DEST" + (relative.isEmpty() ? QString() : "/" + relative));
    }
    sd_PartialCopy Partial() const {
        QFile file(sd::PartialManifestPath(Target()));
        sd_PartialCopy copy;
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && sd::ParsePartial(file.readAll(), copy));
        return copy;
    }

    TestKit kit;
    FakePlatform platform;
    ScriptedPrompt prompt;
    RecordingProgress progress;
    int nextDisc = 2;
};

TEST_F(CopyRecordTest, ACompletedCopyLeavesAManifestOfEveryFileAndNoPartialOne) {
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::OK};
    ASSERT_EQ(Run(), sd_CopyOutcome::Completed);
    EXPECT_EQ(Read(sd::ManifestPath(Target())), kDisc1 + "  DISC1.TAG\n" + kAbc + "  d1/file1.txt\n" +
                                                    kDisc2 + "  DISC2.TAG\n" + kAbc + "  d2/file2.txt\n" +
                                                    kDisc3 + "  DISC3.TAG\n" + kAbc + "  d3/file3.txt\n");
    EXPECT_FALSE(QFileInfo::exists(sd::PartialManifestPath(Target())));
}

TEST_F(CopyRecordTest, ACopyReplacingACompletedOneDropsItsManifestAtOnce) {
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::OK};
    ASSERT_EQ(Run(), sd_CopyOutcome::Completed);
    InsertDisc(1);
    nextDisc = 2;
    prompt.answers["Directory Already Exists"] = {Answer::Yes};
    prompt.answers["Insert Disc..."] = {Answer::Cancel};
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    EXPECT_FALSE(QFileInfo::exists(sd::ManifestPath(Target()))); // it listed discs 2 and 3
    EXPECT_EQ(Partial().completeDiscs, QSet<int>{1});
}

TEST_F(CopyRecordTest, AStoppedCopyResumesWithoutTheDiscsAndFilesItCompleted) {
    prompt.answers["Insert Disc..."] = {Answer::Cancel}; // stops before disc 2
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    EXPECT_FALSE(QFileInfo::exists(sd::ManifestPath(Target())));
    const sd_PartialCopy partial = Partial();
    EXPECT_EQ(partial.itemFile, "three.xml");
    EXPECT_EQ(partial.completeDiscs, QSet<int>{1});
    EXPECT_EQ(partial.files.size(), 2);

    prompt.asked.clear();
    prompt.answers["Resume Copy?"] = {Answer::Yes};
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::OK};
    nextDisc = 2;
    platform.copyAttempts = 0;
    ASSERT_EQ(Run(), sd_CopyOutcome::Completed);
    EXPECT_EQ(prompt.Texts("Resume Copy?"),
              QStringList{"A previous copy of Three into " + QDir::toNativeSeparators(Target()) +
                          " did not finish. Resume it?"});
    EXPECT_EQ(prompt.Count("Directory Already Exists"), 0);
    EXPECT_EQ(prompt.Texts("Insert Disc..."),
              (QStringList{"Please insert Three CD disc 2", "Please insert Three CD disc 3"}));
    EXPECT_EQ(platform.copyAttempts, 4); // disc 1 is not copied again
    EXPECT_EQ(Read(sd::ManifestPath(Target())), kDisc1 + "  DISC1.TAG\n" + kAbc + "  d1/file1.txt\n" +
                                                    kDisc2 + "  DISC2.TAG\n" + kAbc + "  d2/file2.txt\n" +
                                                    kDisc3 + "  DISC3.TAG\n" + kAbc + "  d3/file3.txt\n");
    EXPECT_FALSE(QFileInfo::exists(sd::PartialManifestPath(Target())));
}

TEST_F(CopyRecordTest, AResumedCopyStoppedAgainKeepsTheRecordOfWhatItHadNotReached) {
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::Cancel}; // discs 1 and 2, then stops
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    kit.Write("kit/os/DEST/d1/file1.txt", "changed"); // so disc 1 is asked for again; the drive has disc 3
    prompt.answers["Resume Copy?"] = {Answer::Yes};
    prompt.answers["Insert Disc..."] = {Answer::Cancel};
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    EXPECT_EQ(prompt.Texts("Insert Disc...").last(), "Please insert Three CD disc 1");
    // Nothing was reached, so nothing of the earlier record is lost (the changed file is checked again
    // by the next resume, by its size).
    const sd_PartialCopy partial = Partial();
    EXPECT_EQ(partial.completeDiscs, (QSet<int>{1, 2}));
    EXPECT_EQ(partial.files.size(), 4);
}

TEST_F(CopyRecordTest, AFileChangedSinceTheStopIsCopiedAgainAndSoIsItsDisc) {
    prompt.answers["Insert Disc..."] = {Answer::Cancel};
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    kit.Write("kit/os/DEST/d1/file1.txt", "changed by hand"); // another size
    InsertDisc(1);
    prompt.answers["Resume Copy?"] = {Answer::Yes};
    prompt.answers["Insert Disc..."] = {Answer::Cancel};
    platform.copyAttempts = 0;
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    EXPECT_EQ(platform.copyAttempts, 1); // only the changed file; DISC1.TAG is kept
    EXPECT_EQ(Read(Target("d1/file1.txt")), "abc");
    EXPECT_EQ(Partial().files.size(), 2);
}

TEST_F(CopyRecordTest, NoToResumeAsksTheQuestionOfTodayAndAnotherItemsRecordIsNotOffered) {
    prompt.answers["Insert Disc..."] = {Answer::Cancel};
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    InsertDisc(1);
    prompt.asked.clear();
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted); // No to both questions
    EXPECT_EQ(prompt.Count("Resume Copy?"), 1);
    EXPECT_EQ(prompt.Count("Directory Already Exists"), 1);
    EXPECT_TRUE(QFileInfo::exists(sd::PartialManifestPath(Target()))); // still there for a later Yes

    QFile::copy(kit.Path("kit/stagedesk/xml/three.xml"), kit.Path("kit/stagedesk/xml/other.xml"));
    prompt.asked.clear();
    sd_filecopy other(kit.Job("other.xml", "drive"), prompt, progress, platform);
    other.Run();
    EXPECT_EQ(prompt.Count("Resume Copy?"), 0);
    EXPECT_EQ(prompt.Count("Directory Already Exists"), 1);
}

TEST_F(CopyRecordTest, TheInsertDiscQuestionCarriesWhyTheDiscInTheDriveWasRefused) {
    prompt.onAsk = nullptr; // the drive keeps disc 1
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::Cancel};
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].details, ""); // asked before disc 2 was looked at
    EXPECT_TRUE(prompt.asked[1].details.startsWith(
        "Rule: //cd/media[@number=2]/validation/file[1]: a file that must be present\n"))
        << prompt.asked[1].details.toStdString();
    EXPECT_TRUE(prompt.asked[1].details.contains("Expected: a file matching \"DISC2.TAG\""));
}

TEST_F(CopyRecordTest, BytesAreCountedUpToTheTotalOfTheFilesListed) {
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::OK};
    ASSERT_EQ(Run(), sd_CopyOutcome::Completed);
    ASSERT_FALSE(progress.bytes.empty());
    for (size_t i = 1; i < progress.bytes.size(); ++i) {
        EXPECT_GE(progress.bytes[i].copied, progress.bytes[i - 1].copied);
        EXPECT_LE(progress.bytes[i].copied, progress.bytes[i].total);
    }
    EXPECT_EQ(progress.bytes.back().copied, 3 * (6 + 3)); // each disc: its tag and one 3-byte file
    EXPECT_EQ(progress.bytes.back().total, 3 * (6 + 3));
}

TEST_F(CopyRecordTest, EveryStatusLineIsAppendedToTheLog) {
    prompt.answers["Insert Disc..."] = {Answer::Cancel};
    ASSERT_EQ(Run(), sd_CopyOutcome::Aborted);
    QStringList shown = progress.Kind("status") + progress.Kind("abort");
    const QStringList logged = Read(sd::StatusLogPath(kit.Home())).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(logged.size(), shown.size());
    EXPECT_TRUE(logged.first().endsWith(" - Calculating Media Quantity...")) << logged.first().toStdString();
    EXPECT_TRUE(logged.last().endsWith(" - File Copy Aborted... Click Finish To Exit"));
}

} // namespace
