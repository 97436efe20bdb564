// The copy wizard: page transitions and button states, the paths page's checks, the space check, the
// copy on its worker, and closing while it copies.
#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/ui/frm_OSFiles.h"
#include "stagedesk/ui/sd_pathlabel.h"
#include "stagedesk/ui/sddll_SelectPaths.h"

#include "ui_fixtures.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

QString ItemXml(const QString& name, const QString& defaultPath) {
    return "<item><name>" + name + "</name><media_name>" + name + " CD</media_name><default_path>" +
           defaultPath +
           "</default_path><size>1</size><media_quantity>1</media_quantity><cd><media "
           "number=\"1\"><media_copy>"
           "<directory><path>\\</path><target>\\</target></directory></media_copy></media></cd></item>";
}

class Wizard : public testing::Test {
protected:
    void SetUp() override {
        Configure({"winpe", "dos"});
        ui.kit.Item("os.xml", ItemXml("Sample OS", "OSDEFAULT"));
        ui.kit.Item("other.xml", ItemXml("Other OS", "OTHER"));
        ui.kit.Item("penguin.xml", ItemXml("Penguin", "PENGUIN"));
        ui.kit.Item("pack.xml", ItemXml("Pack", "PACK"));
        ui.kit.Item("pe.xml", ItemXml("PE", "PE"));
        for (int i = 0; i < 20; ++i)
            ui.kit.Write(QString("media/f%1.txt").arg(i, 2, 10, QChar('0')), "data");
    }
    void TearDown() override { delete wizard; }

    void Configure(const QStringList& installed) {
        ui.Configure(
            installed,
            "<operating_systems dos=\"Yes\" winpe=\"Yes\"><default_path>os</default_path>"
            "<category name=\"Windows Server\"><os><name>Sample OS</name><file>os.xml</file></os>"
            "<os><name>Other OS</name><file>other.xml</file></os></category>"
            "<category name=\"Linux\"><os><name>Penguin</name><file>penguin.xml</file></os></category>"
            "</operating_systems><device_drivers winpe=\"Yes\"><default_path>drvs</default_path>"
            "<category name=\"Windows Server\"><driver_set><name>Pack</name><file>pack.xml</file>"
            "</driver_set></category></device_drivers><preboot_files winpe=\"Yes\"><default_path>"
            "WinPE_Source</default_path><category name=\"WinPE\"><preboot><name>PE</name><file>pe.xml"
            "</file></preboot></category></preboot_files>");
    }
    void Open(sd_Task task) {
        wizard = new frm_OSFiles(task, ui.session);
        wizard->show();
    }
    template <class T> T* Get(const char* name) { return Child<T>(wizard.data(), name); }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
    QWidget* Page() { return wizard->findChild<QStackedWidget*>()->currentWidget(); }
    bool OnPathsPage() { return qobject_cast<sddll_SelectPaths*>(Page()) != nullptr; }
    // Chooses the first item and goes on to the paths page with these paths.
    void ToPaths(const QString& source, const QString& destination) {
        Get<QListWidget>("items")->setCurrentRow(0);
        Button("next")->click();
        Get<QLineEdit>("source")->setText(source);
        Get<QLineEdit>("destination")->setText(destination);
    }
    bool Finished() { return Button("cancel")->text() == "&Finish"; }
    // Shows the wizard as the active window, so keys go where the user's would.
    void Activate() {
        wizard->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(wizard.data()));
    }
    // A key pressed in the active window: it reaches the focused widget first.
    void Press(Qt::Key key) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : wizard.data(), key);
    }
    QString Status() { return Get<QPlainTextEdit>("status")->toPlainText(); }

    UiKit ui;
    QPointer<frm_OSFiles> wizard;
};

TEST_F(Wizard, PagesAndButtonsFollowTheChoices) {
    Open(sd_Task::InstallationFiles);
    EXPECT_EQ(wizard->windowTitle(), "Add Operating System Installation Files");
    EXPECT_EQ(Get<QLabel>("header")->text(), "Choose An Operating System Type...");
    EXPECT_EQ(
        Get<QLabel>("firstPrompt")->text(),
        "Please select the Operating System type you wish to copy the Operating System installation files "
        "for:");
    auto* types = Get<QListWidget>("types");
    auto* items = Get<QListWidget>("items");
    EXPECT_EQ(types->count(), 2);
    EXPECT_EQ(types->currentRow(), 0);
    EXPECT_EQ(items->count(), 2);
    EXPECT_EQ(items->currentRow(), -1);
    EXPECT_FALSE(Button("back")->isEnabled());
    EXPECT_FALSE(Button("next")->isEnabled());
    EXPECT_EQ(Button("cancel")->text(), "&Cancel");

    items->setCurrentRow(0);
    EXPECT_TRUE(Button("next")->isEnabled());
    Button("next")->click();
    EXPECT_TRUE(OnPathsPage());
    EXPECT_EQ(Get<QLabel>("header")->text(), "Choose Your Source and Destination Paths...");
    EXPECT_TRUE(Button("back")->isEnabled());
    EXPECT_FALSE(Button("next")->isEnabled());
    EXPECT_EQ(Get<QLineEdit>("destination")->text(), "OSDEFAULT");
    EXPECT_EQ(Get<QLabel>("sourcePrompt")->text(), "Please provide the location of the Sample OS CD:");
    EXPECT_EQ(Get<sd_PathLabel>("destinationNote")->FullText(),
              "The operating system installation files will be copied to the following directory within " +
                  QDir::toNativeSeparators(ui.kit.Base() + "/os"));

    auto* source = Get<QLineEdit>("source");
    source->setText("ab");
    EXPECT_FALSE(Button("next")->isEnabled());
    source->setText("abc");
    EXPECT_TRUE(Button("next")->isEnabled());
    Get<QLineEdit>("destination")->clear();
    EXPECT_FALSE(Button("next")->isEnabled());

    Button("back")->click();
    EXPECT_FALSE(OnPathsPage());
    EXPECT_EQ(Get<QLabel>("header")->text(), "Choose Your Operating System...");
    EXPECT_FALSE(Button("back")->isEnabled());
    EXPECT_TRUE(Button("next")->isEnabled());
    types->setCurrentRow(1);
    EXPECT_FALSE(Button("next")->isEnabled());
    ASSERT_EQ(items->count(), 1);
    EXPECT_EQ(items->item(0)->text(), "Penguin");
}

TEST_F(Wizard, DestinationNamesAreCheckedBeforeTheSource) {
    Open(sd_Task::DriverFiles);
    ToPaths(ui.kit.Path("missing"), "a:b");
    Button("next")->click();
    ASSERT_EQ(ui.prompt.Count("Invalid Characters Used"), 1);
    EXPECT_EQ(
        ui.prompt.Texts("Invalid Characters Used")[0],
        "A directory name may not contain any of the following:\n\n\" *  /  :  <  >  ?  |  ..\\  .\\  \\");
    EXPECT_EQ(Get<QLineEdit>("destination")->selectedText(), "a:b");
    // ".." names no folder of its own: the copy target would be the kit's base folder.
    Get<QLineEdit>("destination")->setText("..");
    Button("next")->click();
    EXPECT_EQ(ui.prompt.Count("Invalid Characters Used"), 2);

    // Nine characters for a driver set: the 8.3 question; No keeps the page.
    Get<QLineEdit>("destination")->setText("NINECHARS");
    Button("next")->click();
    ASSERT_EQ(ui.prompt.Count("Incompatible Destination Path"), 1);
    EXPECT_TRUE(ui.prompt.Texts("Incompatible Destination Path")[0].startsWith(
        "The destination path selected is not 8.3 compliant.\n"));
    EXPECT_EQ(ui.prompt.Count("Directory Does Not Exist"), 0);
    EXPECT_TRUE(OnPathsPage());

    // Yes goes on to the source, which does not exist.
    ui.prompt.answers["Incompatible Destination Path"] = {sd_prompt::Answer::Yes};
    Button("next")->click();
    ASSERT_EQ(ui.prompt.Count("Directory Does Not Exist"), 1);
    EXPECT_EQ(ui.prompt.Texts("Directory Does Not Exist")[0],
              "The selected directory:\n\n" + ui.kit.Path("missing") +
                  "\n\nDoes not exist. Please choose a different directory.");
    EXPECT_FALSE(Button("next")->isEnabled());
    EXPECT_TRUE(OnPathsPage());
}

TEST_F(Wizard, PrebootNamesAreNotQuestioned) {
    Open(sd_Task::PrebootFiles);
    EXPECT_EQ(Get<QLabel>("header")->text(), "Choose A Pre-boot Environment Type...");
    ToPaths(ui.kit.Path("missing"), "NINECHARS");
    Button("next")->click();
    EXPECT_EQ(ui.prompt.Count("Incompatible Destination Path"), 0);
    EXPECT_EQ(ui.prompt.Count("Directory Does Not Exist"), 1);
}

TEST_F(Wizard, NamesHaveEightCharactersAtMostWithoutWinPE) {
    Configure({"dos"});
    ui.kit.Item("os.xml", ItemXml("Sample OS", "LONGDEFAULT"));
    Open(sd_Task::InstallationFiles);
    ToPaths("abc", "LONGDEFAULT");
    EXPECT_EQ(Get<QLineEdit>("destination")->text(), "LONGDEFA");
}

// The existing target would be removed after its question, and the source with it: refused first.
TEST_F(Wizard, ASourceInsideTheTargetIsRefusedOnThePathsPage) {
    ui.kit.Write("kit/os/DEST/media/f.txt", "the only copy");
    ui.prompt.answers["Directory Already Exists"] = {sd_prompt::Answer::Yes};
    Open(sd_Task::InstallationFiles);
    ToPaths(ui.kit.Path("kit/os/DEST/media"), "DEST");
    Button("next")->click();
    ASSERT_EQ(ui.prompt.Count("Source Directory Would Be Removed"), 1);
    EXPECT_EQ(ui.prompt.Texts("Source Directory Would Be Removed")[0],
              "The selected directory:\n\n" + ui.kit.Path("kit/os/DEST/media") +
                  "\n\nis, or lies inside, the directory:\n\n" + ui.kit.Path("kit/os/DEST") +
                  "\n\nwhich the copy removes before it reads from the source. Please choose a different "
                  "directory.");
    EXPECT_TRUE(OnPathsPage());
    EXPECT_FALSE(Button("next")->isEnabled());
    EXPECT_EQ(wizard->Engine(), nullptr);
    EXPECT_EQ(ui.prompt.Count("Directory Already Exists"), 0);
    EXPECT_TRUE(ui.kit.Exists("kit/os/DEST/media/f.txt"));
}

TEST_F(Wizard, TooLittleSpaceReturnsToThePathsPage) {
    ui.platform.freeBytes = 512 * 1024; // half a megabyte; the item needs one
    Open(sd_Task::InstallationFiles);
    ToPaths(ui.kit.Path("media"), "DEST");
    Button("next")->click();
    ASSERT_EQ(ui.prompt.Count("Not Enough Free Space"), 1);
    EXPECT_EQ(ui.prompt.Texts("Not Enough Free Space")[0],
              "There is not enough free space availabe on drive E: to\ncomplete the file copy process.");
    EXPECT_TRUE(OnPathsPage());
    EXPECT_EQ(Get<QLabel>("header")->text(), "Choose Your Source and Destination Paths...");
    EXPECT_TRUE(Button("back")->isEnabled());
    EXPECT_TRUE(Button("next")->isEnabled());
    EXPECT_TRUE(Status().endsWith(" - Checking for available drive space..."));
    EXPECT_EQ(wizard->Engine(), nullptr);
}

TEST_F(Wizard, WorkerQuestionsAreAskedOnTheWindowsThread) {
    ui.kit.Write("kit/os/DEST/keep.txt", "mine");
    QThread* askedOn = nullptr;
    ui.prompt.onAsk = [&](const AskedQuestion&) { askedOn = QThread::currentThread(); };
    Open(sd_Task::InstallationFiles);
    ToPaths(ui.kit.Path("media"), "DEST");
    Button("next")->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Finished(); }));
    EXPECT_EQ(ui.prompt.Count("Directory Already Exists"), 1);
    EXPECT_EQ(askedOn, wizard->thread());
    EXPECT_TRUE(
        Status().endsWith(" - Target Directory Already Exists, File Copy Aborted... Click Finish To Exit"));
    EXPECT_TRUE(ui.kit.Exists("kit/os/DEST/keep.txt"));
    EXPECT_FALSE(ui.kit.Exists("kit/os/DEST/f00.txt"));

    // A finished wizard closes without a question.
    EXPECT_TRUE(wizard->close());
    EXPECT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
    EXPECT_EQ(ui.prompt.Count("Closing Wizard"), 0);
}

TEST_F(Wizard, ClosingBeforeACopyAsksOnlyWhetherToExit) {
    Open(sd_Task::InstallationFiles);
    EXPECT_FALSE(wizard->close());
    EXPECT_TRUE(wizard->isVisible());
    ui.prompt.answers["Closing Wizard"] = {sd_prompt::Answer::Yes};
    EXPECT_TRUE(wizard->close());
    EXPECT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
    EXPECT_EQ(ui.prompt.Count("Closing Wizard"), 2);
    EXPECT_EQ(ui.prompt.Count("Keep Copied Files?"), 0);
}

// Holds the worker inside the copy of one file until the test lets it go.
class Gate {
public:
    void Arrive() {
        std::unique_lock<std::mutex> lock(mutex_);
        reached_ = true;
        changed_.wait(lock, [this] { return open_; });
    }
    void Open() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool Reached() {
        std::lock_guard<std::mutex> lock(mutex_);
        return reached_;
    }
    void Reset() {
        std::lock_guard<std::mutex> lock(mutex_);
        reached_ = open_ = false;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false, open_ = false;
};

class ClosingDuringCopy : public Wizard {
protected:
    // Starts the copy and closes the window while the fourth file is being copied; the question lets
    // that copy end, and then waits a moment to see whether another file is started.
    bool CloseInTheMiddle() {
        ui.platform.beforeCopy = [this](const QString& source) {
            ++started;
            if (source.endsWith("f03.txt"))
                gate.Arrive();
        };
        ui.prompt.onAsk = [this](const AskedQuestion& question) {
            if (question.caption != "Closing Wizard")
                return;
            gate.Open();
            QThread::msleep(150);
            startedWhileAsking = started;
        };
        Open(sd_Task::InstallationFiles);
        ToPaths(ui.kit.Path("media"), "DEST");
        Button("next")->click();
        EXPECT_TRUE(ProcessEventsUntil([this] { return gate.Reached(); }));
        return wizard->close();
    }
    int CopiedFiles() { return int(QDir(ui.kit.Path("kit/os/DEST")).entryList(QDir::Files).size()); }

    Gate gate;
    std::atomic<int> started{0};
    int startedWhileAsking = -1;
};

TEST_F(ClosingDuringCopy, NoPausesThenKeepsCopying) {
    EXPECT_FALSE(CloseInTheMiddle());
    EXPECT_EQ(startedWhileAsking, 4);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Finished(); }));
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(CopiedFiles(), 20);
    EXPECT_EQ(ui.prompt.Count("Keep Copied Files?"), 0);
    EXPECT_TRUE(Status().endsWith(" - File copy process completed successfully."));
    EXPECT_EQ(Get<QProgressBar>("overallBar")->value(), 20);
}

TEST_F(ClosingDuringCopy, YesWithoutKeepingRemovesTheTarget) {
    ui.prompt.answers["Closing Wizard"] = {sd_prompt::Answer::Yes};
    ui.prompt.answers["Keep Copied Files?"] = {sd_prompt::Answer::No};
    EXPECT_TRUE(CloseInTheMiddle());
    EXPECT_EQ(startedWhileAsking, 4);
    ASSERT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
    EXPECT_EQ(started, 4);
    EXPECT_EQ(ui.prompt.Count("Keep Copied Files?"), 1);
    EXPECT_EQ(ui.prompt.Texts("Keep Copied Files?")[0],
              "There are files that have been copied.\nDo you wish to keep those files?");
    EXPECT_FALSE(ui.kit.Exists("kit/os/DEST"));
    EXPECT_TRUE(ui.kit.Exists("kit/os"));
}

} // namespace

namespace {

// Keyboard only: Tab into the item list chooses nothing; Space highlights; the paths page starts in
// the source box, not on Cancel; Enter is Next, then Finish.
TEST_F(Wizard, EnterAndTabCarryThroughTheWizard) {
    Open(sd_Task::InstallationFiles);
    Activate();
    EXPECT_EQ(QApplication::focusWidget(), Get<QListWidget>("types"));
    Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Get<QListWidget>("items"));
    EXPECT_TRUE(Get<QListWidget>("items")->selectedItems().isEmpty());
    EXPECT_FALSE(Button("next")->isEnabled());
    Press(Qt::Key_Return); // Next is disabled: nothing happens
    EXPECT_FALSE(OnPathsPage());

    Press(Qt::Key_Space);
    EXPECT_TRUE(Button("next")->isEnabled());
    Press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Button("next"));
    Press(Qt::Key_Space); // Next, which the paths page disables at once
    ASSERT_TRUE(OnPathsPage());
    auto* source = Get<QLineEdit>("source");
    EXPECT_EQ(QApplication::focusWidget(), source);
    Press(Qt::Key_Space); // typed into the source, not a click of Cancel
    EXPECT_EQ(source->text(), " ");
    EXPECT_EQ(ui.prompt.Count("Closing Wizard"), 0);

    source->clear();
    QTest::keyClicks(source, ui.kit.Path("media"));
    Get<QLineEdit>("destination")->setText("DEST");
    Press(Qt::Key_Enter);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Finished(); }));
    EXPECT_TRUE(ui.kit.Exists("kit/os/DEST/f19.txt"));
    ASSERT_TRUE(ProcessEventsUntil([&] { return Button("openFolder")->isVisible(); }));
    Press(Qt::Key_Return); // Finish
    EXPECT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
    EXPECT_EQ(ui.prompt.Count("Closing Wizard"), 0);
}

TEST_F(Wizard, EscapeAsksTheClosingQuestionOnEveryPage) {
    Open(sd_Task::InstallationFiles);
    Activate();
    Press(Qt::Key_Escape);
    EXPECT_EQ(ui.prompt.Count("Closing Wizard"), 1);
    EXPECT_TRUE(wizard->isVisible());

    ToPaths("", "DEST");
    Get<QLineEdit>("destination")->setFocus();
    Press(Qt::Key_Escape);
    EXPECT_EQ(ui.prompt.Count("Closing Wizard"), 2);
    ui.prompt.answers["Closing Wizard"] = {sd_prompt::Answer::Yes};
    Press(Qt::Key_Escape);
    EXPECT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
}

// Every button shown has an access key of its own, in each state of the wizard.
TEST_F(Wizard, EveryButtonHasItsOwnAccessKey) {
    const auto checkKeys = [this](const char* state) {
        SCOPED_TRACE(state);
        QStringList keys;
        for (const QPushButton* button : wizard->findChildren<QPushButton*>()) {
            if (!button->isVisibleTo(wizard))
                continue;
            const qsizetype amp = button->text().indexOf('&');
            ASSERT_GE(amp, 0) << button->text().toStdString();
            ASSERT_LT(amp + 1, button->text().size());
            keys << button->text().mid(amp + 1, 1).toLower();
        }
        EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
    };
    ui.kit.Write("kit/os/DEST/keep.txt", "mine");
    Open(sd_Task::InstallationFiles);
    checkKeys("selection page");
    ToPaths(ui.kit.Path("media"), "DEST");
    checkKeys("paths page");
    Button("next")->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Button("tryAgain")->isVisible(); }));
    checkKeys("aborted");
    EXPECT_EQ(Button("cancel")->text().remove('&'), "Finish");
}

// Before the first disc's files are counted, neither bar claims anything is done.
TEST_F(Wizard, BarsStayEmptyUntilCopyingStarts) {
    const struct {
        const char* name;
        std::function<void()> arrange;
        const char* moment; // the question at which the bars are read; null: after the run
    } cases[] = {
        {"target question", [this] { ui.kit.Write("kit/os/DEST/keep.txt", "mine"); },
         "Directory Already Exists"},
        {"insert-disc cancelled", [this] { ui.platform.volumeValid = false; }, nullptr},
        {"too little space", [this] { ui.platform.freeBytes = 1024; }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.platform = FakePlatform();
        ui.prompt.asked.clear();
        QDir(ui.kit.Path("kit/os")).removeRecursively();
        c.arrange();
        QStringList seen;
        auto read = [this, &seen] {
            seen = {Get<QProgressBar>("discBar")->text(), Get<QProgressBar>("overallBar")->text()};
        };
        ui.prompt.onAsk = [&](const AskedQuestion& question) {
            if (c.moment && question.caption == c.moment)
                read();
        };
        Open(sd_Task::InstallationFiles);
        ToPaths(ui.kit.Path("media"), "DEST");
        Button("next")->click();
        ASSERT_TRUE(ProcessEventsUntil([&] { return Finished() || OnPathsPage(); }));
        if (!c.moment)
            read();
        EXPECT_EQ(seen, (QStringList{"0%", "0%"}));
        delete wizard;
    }
}

// The note never breaks inside the folder's path, and a path longer than its line is elided in the
// middle; the whole path is always the tool tip.
TEST_F(Wizard, PathsAreElidedInTheMiddleAndNeverBroken) {
    ui.kit.Write("media/a-rather-long-folder-name-for-a-driver/and-a-long-file-name-too.txt", "data");
    Open(sd_Task::InstallationFiles);
    ToPaths(ui.kit.Path("media"), "DEST");
    const QString folder = QDir::toNativeSeparators(ui.kit.Base() + "/os");
    for (int width : {560, 420, 300}) {
        SCOPED_TRACE(width);
        wizard->resize(width, 460);
        QApplication::processEvents();
        auto* note = Get<QLabel>("destinationNote");
        EXPECT_EQ(note->toolTip(), folder);
        const QString shown = note->text();
        const qsizetype start = shown.indexOf("within ") + 7;
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, shown);
        for (breaks.setPosition(start + 1); breaks.toNextBoundary() > 0 && breaks.position() < shown.size();)
            ADD_FAILURE() << "a line may break at " << breaks.position() << " of " << shown.toStdString();
    }

    Button("next")->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Finished(); }));
    wizard->resize(300, 460);
    QApplication::processEvents();
    auto* current = Get<QLabel>("currentFile");
    const QString last = current->toolTip();
    EXPECT_TRUE(last.endsWith("and-a-long-file-name-too.txt")) << last.toStdString();
    QString shown = current->text();
    shown.remove(QChar(0x2060));
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_EQ(shown.left(3), last.left(3));
    EXPECT_EQ(shown.right(6), last.right(6));
    EXPECT_LE(current->fontMetrics().horizontalAdvance(shown), current->contentsRect().width());
}

// After an abort the user goes back to the paths page and runs the copy again; a completed copy's
// folder opens through the desktop.
TEST_F(Wizard, TryAgainAfterAnAbortAndOpenTheFolderAfterACopy) {
    ui.kit.Write("kit/os/DEST/keep.txt", "mine");
    Open(sd_Task::InstallationFiles);
    ToPaths(ui.kit.Path("media"), "DEST");
    Button("next")->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Button("tryAgain")->isVisible(); }));
    EXPECT_FALSE(Button("openFolder")->isVisible());
    QTest::mouseClick(Button("tryAgain"), Qt::LeftButton);
    EXPECT_TRUE(OnPathsPage());
    EXPECT_EQ(Get<QLabel>("header")->text(), "Choose Your Source and Destination Paths...");
    EXPECT_EQ(Button("cancel")->text(), "&Cancel");
    EXPECT_FALSE(Button("tryAgain")->isVisible());
    EXPECT_TRUE(Button("next")->isEnabled());
    EXPECT_EQ(Get<QLineEdit>("source")->text(), ui.kit.Path("media"));

    ui.prompt.answers["Directory Already Exists"] = {sd_prompt::Answer::Yes};
    QTest::mouseClick(Button("next"), Qt::LeftButton);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Button("openFolder")->isVisible(); }));
    EXPECT_FALSE(Button("tryAgain")->isVisible());
    EXPECT_TRUE(Status().endsWith(" - File copy process completed successfully."));
    EXPECT_TRUE(ui.kit.Exists("kit/os/DEST/f19.txt"));
    EXPECT_FALSE(ui.kit.Exists("kit/os/DEST/keep.txt"));

    QTest::mouseClick(Button("openFolder"), Qt::LeftButton);
    EXPECT_EQ(ui.opened, (QList<QUrl>{QUrl::fromLocalFile(ui.kit.Path("kit/os/DEST"))}));
    ui.openSucceeds = false;
    QTest::mouseClick(Button("openFolder"), Qt::LeftButton);
    ASSERT_EQ(ui.prompt.Count("Unable To Start"), 1);
    EXPECT_EQ(ui.prompt.Texts("Unable To Start")[0],
              "No program could be started to open:\n\n" +
                  QDir::toNativeSeparators(ui.kit.Path("kit/os/DEST")));
    for (const auto& [caption, window] : ui.boxes.owners)
        EXPECT_EQ(window, wizard.data()) << caption.toStdString();
}

// An item that copies into its folder without questioning it: what the wizard created is offered for
// removal, a folder that was there before is not.
TEST_F(ClosingDuringCopy, WithoutPathCheckOnlyAFolderThisCopyMadeIsOffered) {
    for (const bool existedBefore : {false, true}) {
        SCOPED_TRACE(existedBefore ? "folder there before" : "folder made by the copy");
        QDir(ui.kit.Path("kit/os")).removeRecursively();
        ui.prompt.asked.clear();
        gate.Reset();
        started = 0;
        QString item = ItemXml("Sample OS", "DEST");
        ui.kit.Item("os.xml", item.replace("<size>", "<skip_path_check/><size>"));
        if (existedBefore)
            ui.kit.Write("kit/os/DEST/earlier.txt", "from before");
        ui.prompt.answers["Closing Wizard"] = {sd_prompt::Answer::Yes};
        ui.prompt.answers["Keep Copied Files?"] = {sd_prompt::Answer::No};
        EXPECT_TRUE(CloseInTheMiddle());
        ASSERT_TRUE(ProcessEventsUntil([&] { return wizard.isNull(); }));
        EXPECT_EQ(ui.prompt.Count("Directory Already Exists"), 0);
        EXPECT_EQ(ui.prompt.Count("Keep Copied Files?"), existedBefore ? 0 : 1);
        EXPECT_EQ(ui.kit.Exists("kit/os/DEST"), existedBefore);
        EXPECT_EQ(ui.kit.Exists("kit/os/DEST/earlier.txt"), existedBefore);
        EXPECT_EQ(ui.kit.Exists("kit/os/DEST/f00.txt"), existedBefore);
        ui.prompt.answers.clear();
    }
}

} // namespace
