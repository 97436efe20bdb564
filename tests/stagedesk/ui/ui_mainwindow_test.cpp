// The main window: task rows by what the installed editions offer, status bar panels, view toggles,
// menus, help items and the About box.
#include "stagedesk/ui/frm_MainWindow.h"
#include "stagedesk/ui/frm_OSFiles.h"

#include "ui_fixtures.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace {

// A category offered by the listed editions ("dos winpe": dos="Yes" winpe="Yes"); the others say "No".
QString Category(const char* element, const QString& editions) {
    QString attributes;
    for (const char* edition : {"dos", "winpe", "linux"})
        attributes += QString(" %1=\"%2\"").arg(edition, editions.contains(edition) ? "Yes" : "No");
    return QString("<%1%2><default_path>x</default_path><category name=\"T\"/></%1>")
        .arg(element, attributes);
}

QAction* Action(const QWidget& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    ADD_FAILURE() << "no menu item " << text.toStdString();
    return nullptr;
}

struct LayoutCase {
    const char* name;
    QStringList installed;
    const char* offeredBy[4]; // the editions offering drivers, utilities, applications, pre-boot
    int top[4];               // their rows; -1 when not offered
};

// Test listings name a case by its label, not by its bytes.
void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class TaskLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(TaskLayout, RowsMoveUpInPlaceOfTheTasksNotOffered) {
    const LayoutCase& c = GetParam();
    UiKit ui;
    ui.Configure(c.installed, Category("operating_systems", "dos") +
                                  Category("device_drivers", c.offeredBy[0]) +
                                  Category("utility_files", c.offeredBy[1]) +
                                  Category("application_files", c.offeredBy[2]) +
                                  Category("preboot_files", c.offeredBy[3]));
    frm_MainWindow window(ui.session);

    EXPECT_EQ(Child<QLabel>(&window, "link_os")->y(), frm_MainWindow::kInstallationRowTop);
    const struct {
        const char* name;
        const char* menuText;
    } rows[] = {{"drivers", "Add Operating System &Device Drivers"},
                {"utilities", "Add Operating System &Utility Files"},
                {"applications", "Add Operating System &Application Files"},
                {"preboot", "Add &Pre-Boot Environment Source Files"}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i].name);
        auto* link = Child<QLabel>(&window, qPrintable(QString("link_") + rows[i].name));
        auto* picture = Child<QLabel>(&window, qPrintable(QString("picture_") + rows[i].name));
        const bool offered = c.top[i] >= 0;
        EXPECT_EQ(Action(window, rows[i].menuText)->isVisible(), offered);
        EXPECT_EQ(picture->isVisibleTo(&window), offered);
        EXPECT_EQ(link->text().isEmpty(), !offered);
        if (!offered)
            continue;
        EXPECT_EQ(link->pos(), QPoint(frm_MainWindow::kLinkLeft, c.top[i]));
        EXPECT_EQ(picture->pos(), QPoint(frm_MainWindow::kPictureLeft, c.top[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Editions, TaskLayout,
    testing::Values(
        // Only DOS: what WinPE or Linux alone offer is not offered.
        LayoutCase{"DosOnly", {"dos"}, {"winpe", "linux", "dos", "dos"}, {-1, -1, 88, 116}},
        // DOS and Linux: a task of either edition is offered.
        LayoutCase{"DosAndLinux", {"dos", "linux"}, {"dos", "linux", "winpe", "linux"}, {88, 116, -1, 144}},
        LayoutCase{"AllOffered", {"winpe"}, {"winpe", "winpe", "winpe", "winpe"}, {88, 116, 144, 172}},
        LayoutCase{
            "UtilitiesMissing", {"winpe", "dos"}, {"winpe", "linux", "dos", "winpe"}, {88, -1, 116, 144}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

// The panels reach down to the status bar, or to the window's bottom without it: no empty band.
TEST(MainWindow, ViewTogglesHideTheStatusBarAndTheWelcomePanel) {
    UiKit ui;
    ui.Configure({"dos"}, Category("operating_systems", "dos"));
    frm_MainWindow window(ui.session);
    window.show();
    auto* tasks = Child<QWidget>(&window, "taskPanel");
    auto* welcome = Child<QWidget>(&window, "welcomePanel");
    auto* border = Child<QWidget>(&window, "verticalBorder");
    const auto bottom = [&window](const QWidget* panel) {
        return panel->mapTo(&window, QPoint(0, panel->height())).y();
    };
    const auto toggle = [&window](const char* item) {
        Action(window, item)->trigger();
        QApplication::processEvents(); // the layout runs after the toggle
    };
    EXPECT_EQ(tasks->geometry().topLeft(), QPoint(200, 56));
    EXPECT_EQ(tasks->width(), window.width() - 200);
    EXPECT_EQ(bottom(tasks), window.statusBar()->y());
    EXPECT_EQ(bottom(welcome), window.statusBar()->y());
    EXPECT_EQ(
        Child<QLabel>(&window, "welcomeText")->text(),
        "Welcome to the Torvik Harborline Kitorium Configurator.\n\nThis tool allows you to configure "
        "your Kitorium source server to perform Operating System installations.\n\nPlease choose a task "
        "to perform from the right.");

    toggle("&Status Bar");
    EXPECT_FALSE(window.statusBar()->isVisible());
    EXPECT_EQ(bottom(tasks), window.height());
    EXPECT_EQ(bottom(welcome), window.height());

    toggle("&Welcome Text");
    EXPECT_FALSE(welcome->isVisible());
    EXPECT_FALSE(border->isVisible());
    EXPECT_EQ(tasks->geometry().topLeft(), QPoint(0, 56));
    EXPECT_EQ(tasks->width(), window.width());
    EXPECT_EQ(bottom(tasks), window.height());

    toggle("&Welcome Text");
    toggle("&Status Bar");
    EXPECT_TRUE(window.statusBar()->isVisible());
    EXPECT_TRUE(welcome->isVisible());
    EXPECT_TRUE(border->isVisible());
    EXPECT_EQ(tasks->geometry().topLeft(), QPoint(200, 56));
    EXPECT_EQ(bottom(tasks), window.statusBar()->y());
}

// At the window's smallest, every text of the status bar is shown whole.
TEST(MainWindow, StatusBarTextsFitAtTheSmallestSize) {
    UiKit ui;
    ui.kit.Write("kit/stagedesk/xml/stagedesk.xml",
                 Configuration(ui.kit, {"dos", "winpe", "linux"}, Category("operating_systems", "dos"))
                     .replace("<winpe_toolkit_version>1.3<", "<winpe_toolkit_version>10.31.2<"));
    frm_MainWindow window(ui.session);
    window.show();
    window.resize(window.minimumSize());
    QApplication::processEvents();
    ASSERT_EQ(window.size(), window.minimumSize());
    QList<QLabel*> labels = window.statusBar()->findChildren<QLabel*>();
    std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    int left = 0;
    for (const QLabel* label : labels) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_GE(label->x(), left); // not covered by the one before
        left = label->geometry().right() + 1;
    }
    EXPECT_LE(left, window.statusBar()->width());
}

TEST(MainWindow, TasksOpenModelessWizards) {
    UiKit ui;
    ui.Configure({"winpe"}, Category("operating_systems", "winpe") + Category("device_drivers", "winpe") +
                                Category("preboot_files", "winpe"));
    frm_MainWindow window(ui.session);
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&View", "&Tools", "&Help"}));

    Action(window, "Add Operating System &Device Drivers")->trigger();
    Child<QLabel>(&window, "link_preboot")->linkActivated("task");
    const std::vector<frm_OSFiles*> wizards = window.Wizards();
    ASSERT_EQ(wizards.size(), 2);
    EXPECT_EQ(wizards[0]->windowTitle(), "Add Operating System Device Driver Files");
    EXPECT_EQ(wizards[1]->windowTitle(), "Add Pre-boot Environment Files");
    EXPECT_TRUE(wizards[0]->isVisible());
    EXPECT_FALSE(wizards[0]->isModal());
}

// Tab visits each offered task link once (none for a task not offered) and shows a focus frame on it;
// Enter or Space on a link opens its wizard.
TEST(MainWindow, EachTaskLinkIsOneTabStop) {
    UiKit ui;
    ui.Configure({"winpe"}, Category("operating_systems", "winpe") + Category("device_drivers", "winpe") +
                                Category("preboot_files", "winpe"));
    frm_MainWindow window(ui.session);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QStringList visited;
    for (int i = 0; i < 6; ++i) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &window, Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        visited << QApplication::focusWidget()->objectName();
    }
    visited.sort();
    EXPECT_EQ(visited, (QStringList{"link_drivers", "link_drivers", "link_os", "link_os", "link_preboot",
                                    "link_preboot"}));

    auto* link = Child<QLabel>(&window, "link_drivers");
    link->setFocus();
    const QImage focusedLook = link->grab().toImage();
    Child<QLabel>(&window, "link_os")->setFocus();
    EXPECT_NE(link->grab().toImage(), focusedLook); // the frame goes with the focus

    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(Child<QLabel>(&window, "link_preboot"), Qt::Key_Space);
    const std::vector<frm_OSFiles*> wizards = window.Wizards();
    ASSERT_EQ(wizards.size(), 2u);
    EXPECT_EQ(wizards[0]->windowTitle(), "Add Operating System Device Driver Files");
    EXPECT_EQ(wizards[1]->windowTitle(), "Add Pre-boot Environment Files");
}

TEST(MainWindow, HelpItemsOpenThroughTheDesktopAndReportWhatCannotBeOpened) {
    UiKit ui;
    ui.Configure({"dos"}, Category("operating_systems", "dos") +
                              "<support_web_site>https://help.example.org/kit</support_web_site>");
    frm_MainWindow window(ui.session);

    Action(window, "Kitorium &Readme")->trigger();
    EXPECT_TRUE(ui.opened.isEmpty());
    ASSERT_EQ(ui.prompt.Count("File Not Found"), 1);
    EXPECT_TRUE(ui.prompt.Texts("File Not Found")[0].endsWith(
        QDir::toNativeSeparators(ui.kit.Base() + "/kitdocs/docs/readme.htm")));

    ui.kit.Write("kit/kitdocs/docs/UserGuide.pdf", "%PDF");
    Action(window, "Kitorium &User's Reference")->trigger();
    Action(window, "&Browse Toolkit Source Tree")->trigger();
    Action(window, "Torvik &Support Web Site")->trigger();
    EXPECT_EQ(ui.opened,
              (QList<QUrl>{QUrl::fromLocalFile(ui.kit.Base() + "/kitdocs/docs/UserGuide.pdf"),
                           QUrl::fromLocalFile(ui.kit.Base()), QUrl("https://help.example.org/kit")}));

    ui.openSucceeds = false;
    Action(window, "Kitorium &Web Site")->trigger();
    ASSERT_EQ(ui.prompt.Count("Unable To Start"), 1);
    EXPECT_TRUE(ui.prompt.Texts("Unable To Start")[0].contains("https://"));
    EXPECT_EQ(ui.opened.size(), 4);
    ASSERT_EQ(ui.boxes.owners.size(), 2u);
    for (const auto& [caption, owner] : ui.boxes.owners)
        EXPECT_EQ(owner, &window) << caption.toStdString();
}

TEST(MainWindow, AboutBoxShowsTheConfiguredVersion) {
    UiKit ui;
    ui.Configure({"dos"}, Category("operating_systems", "dos"));
    frm_MainWindow window(ui.session);
    QString version, name;
    QTimer::singleShot(0, [&] {
        QWidget* about = QApplication::activeModalWidget();
        ASSERT_NE(about, nullptr);
        version = Child<QLabel>(about, "version")->text();
        name = Child<QLabel>(about, "name")->text();
        about->close();
    });
    Action(window, "&About")->trigger();
    EXPECT_EQ(version, "v. 1.4.0");
    EXPECT_EQ(name, "Torvik Harborline Kitorium Configurator");
}

} // namespace
