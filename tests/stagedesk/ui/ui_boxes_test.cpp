// The message boxes themselves: shown over their window and modal to it alone, with the answer that
// removes nothing on Enter.
#include "stagedesk/ui/frm_MainWindow.h"
#include "stagedesk/ui/frm_OSFiles.h"
#include "stagedesk/ui/sd_windowprompt.h"

#include "ui_fixtures.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// What a shown box was like.
struct SeenBox {
    QString caption;
    const QWidget* parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    QString defaultButton;
};

// Waits for the next message box, notes what it is like and presses key on it.
class BoxWatcher : public QObject {
public:
    explicit BoxWatcher(Qt::Key key) : key_(key) {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, &BoxWatcher::Look);
        timer_.start();
    }
    std::vector<SeenBox> seen;

private:
    void Look() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible() || handled_.contains(box))
                continue;
            handled_ << box;
            const QPushButton* button = box->defaultButton();
            seen.push_back({box->windowTitle(), box->parentWidget(), box->windowModality(),
                            button ? button->text().remove('&') : QString()});
            QTest::keyClick(box, key_);
        }
    }

    Qt::Key key_;
    QTimer timer_;
    QList<QPointer<QMessageBox>> handled_;
};

// Enter on each question gives the answer that keeps the files.
TEST(MessageBoxes, EnterGivesTheAnswerThatRemovesNothing) {
    const struct {
        const char* caption;
        sd_prompt::Buttons buttons;
        sd_prompt::Answer onEnter;
    } cases[] = {
        {"Directory Already Exists", sd_prompt::Buttons::YesNo, sd_prompt::Answer::No},
        {"Closing Wizard", sd_prompt::Buttons::YesNo, sd_prompt::Answer::No},
        {"Keep Copied Files?", sd_prompt::Buttons::YesNo, sd_prompt::Answer::Yes},
        {"Incompatible Destination Path", sd_prompt::Buttons::YesNo, sd_prompt::Answer::Yes},
        {"Insert Disc...", sd_prompt::Buttons::OKCancel, sd_prompt::Answer::OK},
    };
    QWidget window;
    window.show();
    sd_MessageBoxes boxes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        BoxWatcher watcher(Qt::Key_Return);
        EXPECT_EQ(boxes.AskOver(&window, "text", c.caption, c.buttons, sd_prompt::Icon::Question, QString()),
                  c.onEnter);
        ASSERT_EQ(watcher.seen.size(), 1u);
        EXPECT_EQ(watcher.seen[0].parent, &window);
        EXPECT_EQ(watcher.seen[0].modality, Qt::WindowModal);
    }
}

// Records whether a window was blocked by a modal window.
class BlockRecorder : public QObject {
public:
    bool blocked = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked)
            blocked = true;
        return false;
    }
};

// The worker's question comes up over its own wizard; the main window and a second wizard stay usable;
// Enter keeps the folder that is there.
TEST(MessageBoxes, AWizardsQuestionBlocksOnlyThatWizard) {
    UiKit ui;
    ui.Configure({"winpe"}, "<operating_systems winpe=\"Yes\"><default_path>os</default_path><category "
                            "name=\"T\"><os><name>Sample OS</name><file>os.xml</file></os></category>"
                            "</operating_systems>");
    ui.kit.Item("os.xml", "<item><name>Sample OS</name><media_name>CD</media_name><size>1</size>"
                          "<media_quantity>1</media_quantity><cd><media number=\"1\"><media_copy><directory>"
                          "<path>\\</path><target>\\</target></directory></media_copy></media></cd></item>");
    ui.kit.Write("media/f.txt", "data");
    ui.kit.Write("kit/os/DEST/keep.txt", "mine");
    sd_MessageBoxes real;
    sd_KitSession session{ui.kit.Home(), ui.xml, real, ui.platform, [](const QUrl&) { return true; }};
    frm_MainWindow window(session);
    window.show();
    QPointer<frm_OSFiles> copying = window.OpenTask(sd_Task::InstallationFiles);
    QPointer<frm_OSFiles> other = window.OpenTask(sd_Task::InstallationFiles);
    BlockRecorder mainBlocked, otherBlocked, copyingBlocked;
    window.installEventFilter(&mainBlocked);
    other->installEventFilter(&otherBlocked);
    copying->installEventFilter(&copyingBlocked);

    Child<QListWidget>(copying.data(), "items")->setCurrentRow(0);
    Child<QPushButton>(copying.data(), "next")->click();
    Child<QLineEdit>(copying.data(), "source")->setText(ui.kit.Path("media"));
    Child<QLineEdit>(copying.data(), "destination")->setText("DEST");
    BoxWatcher watcher(Qt::Key_Return);
    Child<QPushButton>(copying.data(), "next")->click();
    auto* cancel = Child<QPushButton>(copying.data(), "cancel");
    ASSERT_TRUE(ProcessEventsUntil([&] { return cancel->text() == "&Finish"; }));

    ASSERT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(watcher.seen[0].caption, "Directory Already Exists");
    EXPECT_EQ(watcher.seen[0].parent, copying.data());
    EXPECT_EQ(watcher.seen[0].modality, Qt::WindowModal);
    EXPECT_EQ(watcher.seen[0].defaultButton, "No");
    EXPECT_TRUE(copyingBlocked.blocked);
    EXPECT_FALSE(otherBlocked.blocked);
    EXPECT_FALSE(mainBlocked.blocked);
    EXPECT_TRUE(ui.kit.Exists("kit/os/DEST/keep.txt"));
}

} // namespace
