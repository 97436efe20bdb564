// The sample kit end to end through the windows: start-up, main window, a driver set copied through the
// wizard to "Finish". And a second instance of the program ends at once.
#include "stagedesk/core/sd_platform.h"
#include "stagedesk/ui/frm_MainWindow.h"
#include "stagedesk/ui/frm_OSFiles.h"
#include "stagedesk/ui/frm_SplashScreen.h"
#include "stagedesk/ui/sd_windowed.h"

#include "support/RunProgram.h"
#include "ui_fixtures.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

TEST(ExampleKit, DriverSetCopiedThroughTheWizard) {
    TempDir dir;
    fs::copy(fs::path(KIT_SOURCE_DIR) / "examples/kit", dir.Path() / "kit", fs::copy_options::recursive);
    const QString kit = QString::fromStdString((dir.Path() / "kit").string());
    ScriptedPrompt prompt;
    ScriptedBoxes boxes(prompt);
    sd_xml xml(kit + "/stagedesk");
    {
        frm_SplashScreen splash(kit + "/stagedesk", xml, boxes);
        ASSERT_EQ(splash.exec(), QDialog::Accepted);
        EXPECT_EQ(Child<QProgressBar>(&splash, "progress")->value(), 5);
    }
    sd_KitSession session{kit + "/stagedesk", xml, boxes, sd_platform::Real(),
                          [](const QUrl&) { return true; }};
    frm_MainWindow window(session);
    EXPECT_EQ(Child<QLabel>(&window, "edition_dos")->text(), "Dos Toolkit: v. 2.4");
    EXPECT_EQ(Child<QLabel>(&window, "edition_dos")->toolTip(), QDir::toNativeSeparators(kit + "/dostk"));
    EXPECT_TRUE(Child<QLabel>(&window, "edition_linux")->text().isEmpty()); // 2.5, below the minimum 3.0

    QPointer<frm_OSFiles> wizard = window.OpenTask(sd_Task::DriverFiles);
    Child<QListWidget>(wizard.data(), "items")->setCurrentRow(0);
    Child<QPushButton>(wizard.data(), "next")->click();
    EXPECT_EQ(Child<QLineEdit>(wizard.data(), "destination")->text(), "DRVPK1");
    Child<QLineEdit>(wizard.data(), "source")->setText(kit + "/media/drvpack");
    Child<QPushButton>(wizard.data(), "next")->click();
    auto* cancel = Child<QPushButton>(wizard.data(), "cancel");
    ASSERT_TRUE(ProcessEventsUntil([&] { return cancel->text() == "&Finish"; }));

    const QStringList status = Child<QPlainTextEdit>(wizard.data(), "status")->toPlainText().split('\n');
    ASSERT_FALSE(status.isEmpty());
    EXPECT_TRUE(status.first().endsWith(" - Checking for available drive space..."));
    EXPECT_TRUE(status.last().endsWith(" - File copy process completed successfully."))
        << status.last().toStdString();
    auto* overall = Child<QProgressBar>(wizard.data(), "overallBar");
    EXPECT_EQ(overall->value(), overall->maximum());
    for (const char* copied :
         {"drvs/DRVPK1/DrvSet.ini", "drvs/DRVPK1/nic/SNIC.SYS", "drvs/DRVPK1/raid/SRAID.SYS",
          "drvs/DRVPK1/tools/LOADDRV.BAT", "drvs/DRVPK1/logs"})
        EXPECT_TRUE(fs::exists(dir.Path() / "kit" / copied)) << copied;
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(wizard->close());
    EXPECT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
}

TEST(ExampleKit, SecondInstanceEndsAtOnce) {
    TempDir temp;
    // The program looks for the lock in its temporary folder; both sides use this one.
    const bool hadTemp = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(temp.Path().string()));
    QLockFile running(sd::InstanceLockPath());
    ASSERT_TRUE(running.tryLock(0));
    const ProgramResult second = RunProgram(BuiltProgram("stagedesk"), {"--home", temp.Path().string()});
    if (hadTemp)
        qputenv("TMPDIR", savedTemp);
    else
        qunsetenv("TMPDIR");
    EXPECT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_TRUE(second.out.empty());
}

} // namespace
