// The splash screen runs the start-up checks: it opens the way to the main window only when they pass.
#include "stagedesk/ui/frm_SplashScreen.h"

#include "ui_fixtures.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace {

class Splash : public testing::Test {
protected:
    void SetUp() override {
        ui.Configure({},
                     "<operating_systems dos=\"Yes\"><default_path>os</default_path></operating_systems>");
        ui.kit.Write("kit/winpetk/version.ini", "[Toolkit]\nVersion = 1.3\n");
        ui.kit.Write("kit/linuxtk/version.ini", "[Toolkit]\nVersion = 2.5\n"); // below the minimum 3.1
    }
    int Run(int* progress = nullptr) {
        frm_SplashScreen splash(ui.kit.Home(), ui.xml, ui.boxes);
        EXPECT_EQ(Child<QLabel>(&splash, "status")->text(), "Verifying Kitorium Version Information");
        const int result = splash.exec();
        if (progress)
            *progress = Child<QProgressBar>(&splash, "progress")->value();
        return result;
    }
    QString Configured(const char* element) { return ui.xml.GetXPathXML(element, "stagedesk.xml"); }

    UiKit ui;
};

TEST_F(Splash, EndsWhenNoEditionIsCompatible) {
    ui.kit.Write("kit/dostk/version.ini", "Version = 1.0\n");
    ui.kit.Write("kit/winpetk/version.ini", "Version = 1.2\n");
    EXPECT_EQ(Run(), QDialog::Rejected);
    ASSERT_EQ(ui.prompt.asked.size(), 1u);
    EXPECT_EQ(ui.prompt.asked[0].caption, "Supported Kitorium Not Found");
    EXPECT_EQ(Configured("//dos_toolkit_installed"), "No");
}

TEST_F(Splash, EndsAtAMissingConfigurationBeforeAnyFurtherCheck) {
    QFile::remove(ui.kit.Path("kit/stagedesk/xml/stagedesk.xml"));
    int progress = 0;
    EXPECT_EQ(Run(&progress), QDialog::Rejected);
    ASSERT_EQ(ui.prompt.asked.size(), 1u);
    EXPECT_EQ(ui.prompt.asked[0].caption, "File Not Found");
    EXPECT_EQ(
        ui.prompt.asked[0].text,
        "The file \"stagedesk.xml\" could not be found.\n\nPlease reinstall the Torvik Harborline Kitorium.");
    EXPECT_EQ(progress, 2);
}

// Counts the paints of a window and of everything on it.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The checks hold the event loop: a screen not painted before them is an empty rectangle throughout.
TEST_F(Splash, IsPaintedBeforeTheChecksRun) {
    QFile::remove(ui.kit.Path("kit/stagedesk/xml/sdlocal_en.xml")); // the first check fails
    frm_SplashScreen splash(ui.kit.Home(), ui.xml, ui.boxes);
    PaintCounter counter;
    for (QWidget* widget : splash.findChildren<QWidget*>())
        widget->installEventFilter(&counter);
    splash.installEventFilter(&counter);
    int paintsBeforeChecks = -1;
    ui.prompt.onAsk = [&](const AskedQuestion&) { paintsBeforeChecks = counter.paints; };
    EXPECT_EQ(splash.exec(), QDialog::Rejected);
    ASSERT_EQ(ui.prompt.Count("Error Opening File"), 1);
    EXPECT_GT(paintsBeforeChecks, 0);
    // The check's message is shown over the splash screen.
    ASSERT_EQ(ui.boxes.owners.size(), 1u);
    EXPECT_EQ(ui.boxes.owners[0].second, &splash);
}

} // namespace
