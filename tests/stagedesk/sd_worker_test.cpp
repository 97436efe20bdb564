// The copy engine on a worker thread, reporting to an object on this thread through queued signals.
#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/core/sd_progresssignals.h"

#include "sd_fakes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs this thread's events until done() holds or ten seconds pass.
bool ProcessEventsUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

int FilesBelow(const QString& folder) {
    int count = 0;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
        count += entry.isDir() ? FilesBelow(entry.filePath()) : 1;
    return count;
}

TEST(CopyWorker, PausedWorkerStartsNoFileAndReportsInOrderAcrossThreads) {
    char name[] = "stagedesk_core_tests";
    char* argv[] = {name, nullptr};
    int argc = 1;
    QCoreApplication application(argc, argv);

    TestKit kit;
    for (int i = 0; i < 50; ++i)
        kit.Write(QString("drive/f%1.txt").arg(i), "x");
    kit.Item("item.xml",
             "<item><name>Fifty</name><media_name>Fifty CD</media_name><media_quantity>1</media_quantity>"
             "<cd><media number=\"1\"><media_copy><directory><path/><target/></directory></media_copy>"
             "</media></cd></item>");
    FakePlatform platform;
    ScriptedPrompt prompt;
    sd_ProgressSignals relay;
    QStringList received;
    int steps = 0;
    QObject::connect(&relay, &sd_ProgressSignals::statusUpdated, &application, [&](const QString& text) {
        EXPECT_EQ(QThread::currentThread(), application.thread());
        received << text;
    });
    QObject::connect(&relay, &sd_ProgressSignals::progressUpdated, &application,
                     [&](int step, const QString&) { steps += step; });
    QObject::connect(&relay, &sd_ProgressSignals::copyFinished, &application,
                     [&](const QString& text) { received << text; });

    sd_filecopy engine(kit.Job("item.xml", "drive"), prompt, relay, platform);
    engine.Pause();
    sd_CopyOutcome outcome = sd_CopyOutcome::Aborted;
    std::unique_ptr<QThread> worker(QThread::create([&] { outcome = engine.Run(); }));
    worker->start();
    ASSERT_TRUE(ProcessEventsUntil([&] { return received.contains("Copying: Fifty"); }));
    QThread::msleep(200);
    EXPECT_EQ(platform.copyAttempts, 0);
    EXPECT_FALSE(worker->isFinished());

    engine.Resume();
    ASSERT_TRUE(worker->wait(10000));
    ASSERT_TRUE(
        ProcessEventsUntil([&] { return received.contains("File copy process completed successfully."); }));
    EXPECT_EQ(outcome, sd_CopyOutcome::Completed);
    EXPECT_EQ(steps, 50);
    EXPECT_EQ(FilesBelow(kit.Path("kit/os/DEST")), 50);
    EXPECT_EQ(received, (QStringList{"Calculating Media Quantity...", "Copying: Fifty",
                                     "File copy process completed successfully."}));
}

} // namespace
