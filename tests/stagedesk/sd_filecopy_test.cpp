#include "stagedesk/core/sd_filecopy.h"

#include "sd_fakes.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Answer = sd_prompt::Answer;

QString Disc(int number, const QString& extra = QString()) {
    const QString n = QString::number(number);
    return "<media number=\"" + n +
           "\"><media_copy><directory><path>\\</path><target>\\</target></directory>"
           "</media_copy><validation><file><name>DISC" +
           n + ".TAG</name><path/></file></validation>" + extra + "</media>";
}

QString Item(const QString& body, int quantity = 3) {
    return "<item><name>Three</name><media_name>Three CD</media_name><size>1</size><media_quantity>" +
           QString::number(quantity) + "</media_quantity>" + body + "</item>";
}

class CopyEngineTest : public testing::Test {
protected:
    void SetUp() override {
        kit.Item("three.xml", Item("<cd>" + Disc(1) + Disc(2) + Disc(3) + "</cd>"));
        InsertDisc(1);
    }
    // The source folder stands for the drive: its content is the disc put in.
    void InsertDisc(int number) {
        QDir(kit.Path("drive")).removeRecursively();
        const QString n = QString::number(number);
        kit.Write("drive/DISC" + n + ".TAG", "disc " + n);
        kit.Write("drive/d" + n + "/file" + n + ".txt", "content " + n);
    }
    sd_CopyOutcome Run(const QString& item = "three.xml") {
        sd_filecopy engine(kit.Job(item, "drive"), prompt, progress, platform);
        const sd_CopyOutcome outcome = engine.Run();
        EXPECT_EQ(engine.CopyFlag().load(), outcome == sd_CopyOutcome::Completed);
        return outcome;
    }
    bool Copied(const QString& relative) const { return kit.Exists("kit/os/DEST/" + relative); }

    TestKit kit;
    FakePlatform platform;
    ScriptedPrompt prompt;
    RecordingProgress progress;
};

TEST_F(CopyEngineTest, ThreeDiscsOnASmallVolumeAskForDiscsTwoAndThree) {
    int next = 2;
    prompt.onAsk = [&](const AskedQuestion&) { InsertDisc(next++); };
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::OK};
    EXPECT_EQ(Run(), sd_CopyOutcome::Completed);
    EXPECT_EQ(prompt.Texts("Insert Disc..."),
              (QStringList{"Please insert Three CD disc 2", "Please insert Three CD disc 3"}));
    for (const char* file : {"DISC1.TAG", "d1/file1.txt", "d2/file2.txt", "DISC3.TAG", "d3/file3.txt"})
        EXPECT_TRUE(Copied(file)) << file;
    EXPECT_EQ(progress.Kind("init"), (QStringList{"1,2,0,6,Three", "1,2,2,6,Three", "1,2,4,6,Three"}));
    EXPECT_EQ(progress.Kind("status"),
              (QStringList{"Calculating Media Quantity...", "Copying: Three disc 1 of 3",
                           "Copying: Three disc 2 of 3", "Copying: Three disc 3 of 3"}));
    EXPECT_EQ(progress.steps, 6);
    EXPECT_EQ(progress.calls.last(), "finish:File copy process completed successfully.");
}

TEST_F(CopyEngineTest, AWrongDiscIsAskedForAgainAndCancelKeepsWhatWasCopied) {
    prompt.answers["Insert Disc..."] = {Answer::OK, Answer::Cancel}; // the drive still holds disc 1
    EXPECT_EQ(Run(), sd_CopyOutcome::Aborted);
    EXPECT_EQ(prompt.Count("Insert Disc..."), 2);
    EXPECT_TRUE(Copied("d1/file1.txt"));
    EXPECT_FALSE(Copied("d2"));
    EXPECT_EQ(progress.Kind("abort"), QStringList{"File Copy Aborted... Click Finish To Exit"});
    EXPECT_TRUE(progress.Kind("finish").isEmpty());
}

// The tag file is there but holds none of the texts: another disc of the same kind, asked for until the
// right one is put in.
TEST_F(CopyEngineTest, ADiscWhoseTagLacksTheTextsIsAskedForAgain) {
    kit.Item(
        "texts.xml",
        Item("<cd><media number=\"1\"><media_copy><directory><path>\\</path><target>\\</target></directory>"
             "</media_copy><validation><file><name>DISC1.TAG</name><path/><value>Edition A</value>"
             "<value>Edition B</value><text/></file></validation></media></cd>",
             1));
    prompt.onAsk = [&](const AskedQuestion&) { kit.Write("drive/DISC1.TAG", "Sample Edition B\n"); };
    prompt.answers["Insert Disc..."] = {Answer::OK};
    EXPECT_EQ(Run("texts.xml"), sd_CopyOutcome::Completed);
    EXPECT_EQ(prompt.Texts("Insert Disc..."), QStringList{"Please insert Three CD disc 1"});
    EXPECT_TRUE(Copied("d1/file1.txt"));
}

TEST_F(CopyEngineTest, AnExistingTargetIsRemovedOnlyWhenTheUserAgrees) {
    kit.Write("kit/os/DEST/stale.txt", "old");
    EXPECT_EQ(Run(), sd_CopyOutcome::Aborted);
    EXPECT_EQ(prompt.Count("Directory Already Exists"), 1);
    EXPECT_TRUE(Copied("stale.txt"));
    EXPECT_FALSE(Copied("DISC1.TAG"));
    EXPECT_EQ(progress.Kind("abort"),
              QStringList{"Target Directory Already Exists, File Copy Aborted... Click Finish To Exit"});

    kit.Item("one.xml", Item("<cd>" + Disc(1) + "</cd>", 1));
    prompt.answers["Directory Already Exists"] = {Answer::Yes};
    sd_filecopy dots(kit.Job("one.xml", "drive", ".."), prompt, progress,
                     platform); // the target would be the kit
    EXPECT_EQ(dots.Run(), sd_CopyOutcome::Aborted);
    EXPECT_TRUE(kit.Exists("kit/os/DEST/stale.txt"));
    EXPECT_EQ(prompt.Count("Directory Already Exists"), 1);
    progress.calls.clear();
    EXPECT_EQ(Run("one.xml"), sd_CopyOutcome::Completed);
    EXPECT_FALSE(Copied("stale.txt"));
    EXPECT_TRUE(Copied("DISC1.TAG"));
    EXPECT_EQ(progress.Kind("status").first(), "Removing Directories...");
    EXPECT_EQ(progress.Kind("status").last(), "Copying: Three");

    kit.Write("kit/os/DEST/stale.txt", "old");
    kit.Item("skip.xml", Item("<skip_path_check/><cd>" + Disc(1) + "</cd>", 1));
    EXPECT_EQ(Run("skip.xml"), sd_CopyOutcome::Completed);
    EXPECT_EQ(prompt.Count("Directory Already Exists"), 2); // not asked again
    EXPECT_TRUE(Copied("stale.txt"));
}

TEST_F(CopyEngineTest, ReadFailuresAreRetriedSilentlyThreeTimesThenAsked) {
    kit.Item("one.xml", Item("<cd>" + Disc(1) + "</cd>", 1));
    platform.copyFailures["file1.txt"] = {7, sd_FsStatus::IoError};
    prompt.answers["Error Reading File"] = {Answer::OK};
    EXPECT_EQ(Run("one.xml"), sd_CopyOutcome::Completed);
    EXPECT_EQ(prompt.Count("Error Reading File"),
              1); // after the 4th failure; OK gives three more silent tries
    EXPECT_TRUE(Copied("d1/file1.txt"));

    QDir(kit.Path("kit/os")).removeRecursively();
    platform.copyFailures["file1.txt"] = {8, sd_FsStatus::IoError};
    prompt.answers["Error Reading File"] = {Answer::OK, Answer::Cancel};
    EXPECT_EQ(Run("one.xml"), sd_CopyOutcome::Aborted);
    EXPECT_EQ(prompt.Count("Error Reading File"), 3);
    EXPECT_TRUE(prompt.asked.back().text.startsWith("An error occurred while trying to read: \n\n"));
    EXPECT_EQ(progress.Kind("abort").last(),
              "A File Copy Error Occurred, User Aborted File Copy. Click Finish To Exit");

    QDir(kit.Path("kit/os")).removeRecursively();
    platform.copyFailures["file1.txt"] = {1, sd_FsStatus::AccessDenied};
    EXPECT_EQ(Run("one.xml"), sd_CopyOutcome::Aborted);
    EXPECT_EQ(prompt.Count("Error Reading File"), 3); // not a read failure: no question
    EXPECT_EQ(progress.Kind("abort").last(),
              "A File Copy Error Occurred, File Copy Aborted... Click Finish To Exit");
}

// A copy failure keeps its own status line, and the next line says which file and why.
TEST(CopyFailureLines, NameTheFileAndTheSystemsReasonAfterTheAbortLine) {
    struct Case {
        const char* what;
        QString item; // the body of a one-disc item
        std::function<void(TestKit&, FakePlatform&, ScriptedPrompt&)> arrange;
        QStringList last; // the last calls of the run
        bool diskFull = false;
    };
    const QString disc = Disc(1);
    const std::vector<Case> cases = {
        {"a file that cannot be copied",
         "<cd>" + disc + "</cd>",
         [](TestKit&, FakePlatform& platform, ScriptedPrompt&) {
             platform.copyFailures["file1.txt"] = {1, sd_FsStatus::AccessDenied};
         },
         {"abort:A File Copy Error Occurred, File Copy Aborted... Click Finish To Exit",
          "status:Unable to copy {drive}/d1/file1.txt to {base}/os/DEST/d1/file1.txt: The device reported a "
          "read error."}},
        {"read failures until Cancel",
         "<cd>" + disc + "</cd>",
         [](TestKit&, FakePlatform& platform, ScriptedPrompt&) {
             platform.copyFailures["file1.txt"] = {4, sd_FsStatus::IoError};
         },
         {"abort:A File Copy Error Occurred, User Aborted File Copy. Click Finish To Exit",
          "status:Unable to copy {drive}/d1/file1.txt to {base}/os/DEST/d1/file1.txt: The device reported a "
          "read error."}},
#ifndef _WIN32
        {"a disk that is full",
         "<cd>" + disc + "</cd>",
         [](TestKit&, FakePlatform&, ScriptedPrompt&) {},
         {"abort:A File Copy Error Occurred, File Copy Aborted... Click Finish To Exit",
          "status:Unable to copy {drive}/DISC1.TAG to {base}/os/DEST/DISC1.TAG: File too large"},
         true},
#endif
        {"a file that pre-processing cannot remove",
         "<pre_processing><remove_file><path>%sdroot%\\os\\%osdir%.log</path></remove_file></pre_processing>"
         "<cd>" +
             disc + "</cd>",
         [](TestKit& kit, FakePlatform& platform, ScriptedPrompt&) {
             kit.Write("kit/os/DEST.log", "x");
             platform.removeFileFailure = sd_FsStatus::AccessDenied;
         },
         {"abort:Pre-Processing Error - Error Removing Files, File Copy Aborted... ",
          "status:Unable to remove file {base}/os/DEST.log: The file is in use.",
          "status:Click Finish To Exit..."}},
        {"an existing target that cannot be removed",
         "<cd>" + disc + "</cd>",
         [](TestKit& kit, FakePlatform& platform, ScriptedPrompt& prompt) {
             kit.Write("kit/os/DEST/old.txt", "x");
             prompt.answers["Directory Already Exists"] = {Answer::Yes};
             platform.removeTreeFailure = sd_FsStatus::Other;
         },
         {"status:Removing Directories...",
          "abort:Target Directory Already Exists, File Copy Aborted... Click Finish To Exit",
          "status:Unable to remove directory {base}/os/DEST: The folder is in use."}},
        {"a folder that post-processing cannot create",
         "<cd>" + disc +
             "<post_processing><create_directory><path>%sdroot%\\dostk\\version.ini\\logs</path>"
             "</create_directory></post_processing></cd>",
         [](TestKit&, FakePlatform&, ScriptedPrompt&) {},
         {"abort:An Error Occurred, File Copy Aborted... Click Finish To Exit",
          "status:Unable to create directory {base}/dostk/version.ini/logs: Not a directory"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestKit kit;
        kit.Item("one.xml", Item(c.item, 1));
        kit.Write("drive/DISC1.TAG", "disc 1");
        kit.Write("drive/d1/file1.txt", "content 1");
        FakePlatform platform;
        ScriptedPrompt prompt;
        RecordingProgress progress;
        c.arrange(kit, platform, prompt);
        sd_filecopy engine(kit.Job("one.xml", "drive"), prompt, progress, platform);
        sd_CopyOutcome outcome;
        {
#ifndef _WIN32
            std::unique_ptr<FileSizeLimit> full;
            if (c.diskFull)
                full = std::make_unique<FileSizeLimit>(4);
#endif
            outcome = engine.Run();
        }
        EXPECT_EQ(outcome, sd_CopyOutcome::Aborted);
        QStringList expected = c.last;
        expected.replaceInStrings("{drive}", kit.Path("drive")).replaceInStrings("{base}", kit.Base());
        EXPECT_EQ(progress.calls.mid(progress.calls.size() - expected.size()), expected);
    }
}

TEST_F(CopyEngineTest, DiscCountFollowsTheVolumeAndTheUpdateMedia) {
    kit.Write("dvd/DVD.TAG", "dvd");
    kit.Write("dvd/all/everything.txt", "x");
    const QString dvd =
        "<dvd><media number=\"1\"><media_copy><directory><path>all</path><target>from_dvd</target>"
        "</directory></media_copy><validation><file><name>DVD.TAG</name><path/></file></validation>"
        "</media></dvd>";
    kit.Item("dvd.xml",
             Item("<mediaondvd>Yes</mediaondvd><cd>" + Disc(1) + Disc(2) + Disc(3) + "</cd>" + dvd));
    platform.volumeMegabytes = 1000;
    sd_filecopy engine(kit.Job("dvd.xml", "dvd"), prompt, progress, platform);
    EXPECT_EQ(engine.Run(), sd_CopyOutcome::Completed);
    EXPECT_TRUE(Copied("from_dvd/everything.txt"));
    EXPECT_EQ(progress.Kind("status").last(), "Copying: Three disc 1 of 1");
    EXPECT_TRUE(prompt.asked.empty());

    QDir(kit.Path("kit/os")).removeRecursively();
    kit.Write("drive/SP2.TXT", "update");
    kit.Item("update.xml",
             Item("<update_media><file>sp?.txt</file><path>\\</path><media_quantity>1</media_quantity>"
                  "</update_media><cd>" +
                  Disc(1) + Disc(2) + "</cd>"));
    platform.volumeMegabytes = 999;
    EXPECT_EQ(Run("update.xml"), sd_CopyOutcome::Completed);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(Copied("SP2.TXT"));

    QDir(kit.Path("kit/os")).removeRecursively();
    kit.Item("gone.xml",
             Item("<cd><media number=\"1\"><media_copy><directory><path>\\missing</path></directory>"
                  "</media_copy></media></cd>",
                  1));
    EXPECT_EQ(Run("gone.xml"), sd_CopyOutcome::Aborted); // nothing to copy from is not a success
    EXPECT_EQ(progress.Kind("abort").last(),
              "A File Copy Error Occurred, File Copy Aborted... Click Finish To Exit");

    QDir(kit.Path("kit/os")).removeRecursively();
    kit.Item("nocount.xml", "<item><name>N</name><cd>" + Disc(1) + "</cd></item>");
    progress.calls.clear();
    EXPECT_EQ(Run("nocount.xml"), sd_CopyOutcome::Aborted);
    EXPECT_EQ(progress.Kind("abort"),
              QStringList{"Unable To Read From The Selected Source, File Copy Aborted..."});
    EXPECT_EQ(progress.calls.last(), "status:Click Finish To Exit...");
}

TEST_F(CopyEngineTest, PreProcessingFailuresAbortWithTheirTexts) {
    auto item = [&](const QString& steps) {
        kit.Item("pre.xml",
                 Item("<pre_processing>" + steps + "</pre_processing><cd>" + Disc(1) + "</cd>", 1));
        progress.calls.clear();
        return Run("pre.xml");
    };
    EXPECT_EQ(item("<check_file><path>\\%sdroot%\\%dossd%\\missing.ini\\</path></check_file>"),
              sd_CopyOutcome::Aborted);
    EXPECT_EQ(progress.Kind("abort"),
              QStringList{"Pre-Processing Error - File Not Found: " + kit.Base() + "/dostk/missing.ini"});
    EXPECT_EQ(progress.calls.last(), "status:Click Finish To Exit...");
    EXPECT_FALSE(Copied("DISC1.TAG"));

    kit.Write("kit/os/DEST.old/x.txt", "x");
    platform.removeTreeFailure = sd_FsStatus::Other;
    EXPECT_EQ(item("<remove_directory><path>%sdroot%\\os\\%osdir%.old</path></remove_directory>"),
              sd_CopyOutcome::Aborted);
    EXPECT_EQ(progress.Kind("abort"),
              QStringList{"Pre-Processing Error - Error Removing Directory: " + kit.Base() + "/os/DEST.old"});

    kit.Write("kit/os/DEST.log", "x");
    platform.removeFileFailure = sd_FsStatus::AccessDenied;
    EXPECT_EQ(item("<remove_file><path>%sdroot%\\os\\%osdir%.log</path></remove_file>"),
              sd_CopyOutcome::Aborted);
    EXPECT_EQ(progress.Kind("abort"),
              QStringList{"Pre-Processing Error - Error Removing Files, File Copy Aborted... "});

    platform.removeTreeFailure = platform.removeFileFailure = sd_FsStatus::Ok;
    EXPECT_EQ(item("<check_file><path>%sdroot%\\%dossd%\\version.ini</path></check_file>"
                   "<remove_directory><path>%sdroot%\\os\\%osdir%.old</path></remove_directory>"
                   "<remove_file><path>%sdroot%\\os\\%osdir%.log</path></remove_file>"),
              sd_CopyOutcome::Completed);
    EXPECT_FALSE(kit.Exists("kit/os/DEST.old"));
    EXPECT_FALSE(kit.Exists("kit/os/DEST.log"));
    EXPECT_EQ(progress.Kind("status").mid(1, 3),
              (QStringList{"Performing Pre-Processing Steps", "- Removing Directories", "- Removing Files"}));
}

TEST_F(CopyEngineTest, PostProcessingCopiesWithPlaceholdersResolved) {
    kit.Write("kit/dostk/tools/LOAD.BAT", "load");
    kit.Write("kit/dostk/tools/sub/HELP.TXT", "help");
    const QString post = "<post_processing>"
                         "<create_directory><path>%sdroot%\\os\\%osdir%\\logs</path></create_directory>"
                         "<directory_copy><path>%sdroot%\\%dossd%\\tools</"
                         "path><target>%sdroot%\\os\\%osdir%\\t</target></directory_copy>"
                         "<file_copy><file>version.ini</file><path>%sdroot%\\%dossd%</"
                         "path><target>%sdroot%\\os\\%osdir%\\ini</target></file_copy>"
                         "</post_processing>";
    kit.Item("post.xml", Item("<cd>" + Disc(1) + post + "</cd>", 1));
    EXPECT_EQ(Run("post.xml"), sd_CopyOutcome::Completed);
    for (const char* file : {"logs", "t/LOAD.BAT", "t/sub/HELP.TXT", "ini/version.ini", "DISC1.TAG"})
        EXPECT_TRUE(Copied(file)) << file;
    EXPECT_TRUE(progress.Kind("status").contains("-Copying Files..."));
    EXPECT_EQ(progress.Kind("init").last(), "1,2,0,2,Three");

    QDir(kit.Path("kit/os")).removeRecursively();
    kit.Item("nofile.xml", Item("<cd>" + Disc(1) +
                                    "<post_processing><file_copy><file>none.ini</file><path>%sdroot%</path>"
                                    "<target>%sdroot%\\x</target></file_copy></post_processing></cd>",
                                1));
    EXPECT_EQ(Run("nofile.xml"), sd_CopyOutcome::Aborted); // a file that is not there is no success
    EXPECT_EQ(progress.Kind("abort").last(),
              "A File Copy Error Occurred, File Copy Aborted... Click Finish To Exit");

    QDir(kit.Path("kit/os")).removeRecursively();
    kit.Item("badpost.xml", Item("<cd>" + Disc(1) +
                                     "<post_processing><directory_copy><path>%sdroot%\\nowhere</path>"
                                     "<target>%sdroot%\\x</target></directory_copy></post_processing></cd>",
                                 1));
    EXPECT_EQ(Run("badpost.xml"), sd_CopyOutcome::Aborted);
    EXPECT_EQ(progress.Kind("abort").last(), "An Error Occurred, File Copy Aborted... Click Finish To Exit");
}

TEST_F(CopyEngineTest, ProgressIsCoalescedAndAStopEndsQuietly) {
    for (int i = 0; i < 300; ++i)
        kit.Write(QString("drive/many/f%1.txt").arg(i, 3, 10, QChar('0')), "x");
    kit.Item("one.xml", Item("<cd>" + Disc(1) + "</cd>", 1));
    {
        sd_filecopy engine(kit.Job("one.xml", "drive"), prompt, progress, platform);
        engine.SetProgressRate(1);
        EXPECT_EQ(engine.Run(), sd_CopyOutcome::Completed);
    }
    EXPECT_EQ(progress.steps, 302);
    EXPECT_LT(progress.progressCalls, 30);
    EXPECT_TRUE(progress.Kind("progress").last().endsWith("/many/f299.txt"));

    QDir(kit.Path("kit/os")).removeRecursively();
    progress.calls.clear();
    sd_filecopy engine(kit.Job("one.xml", "drive"), prompt, progress, platform);
    int copies = 0;
    platform.beforeCopy = [&](const QString&) {
        if (++copies == 10)
            engine.Stop();
    };
    EXPECT_EQ(engine.Run(), sd_CopyOutcome::Stopped);
    EXPECT_FALSE(engine.CopyFlag());
    EXPECT_EQ(copies, 10);
    EXPECT_TRUE(progress.Kind("abort").isEmpty());
    EXPECT_TRUE(progress.Kind("finish").isEmpty());
}

} // namespace
