#include "stagedesk/ui/frm_MainWindow.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_xml.h"
#include "stagedesk/ui/frm_About.h"
#include "stagedesk/ui/frm_OSFiles.h"
#include "stagedesk/ui/sd_kitsession.h"
#include "stagedesk/ui/sd_tasklink.h"
#include "stagedesk/ui/sd_taskpictures.h"
#include "stagedesk/ui/sd_verifywindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace {

struct TaskTexts {
    sd_Task task;
    const char* menuText;
    const char* linkText;
};

// In the order of the Tasks menu.
const TaskTexts kTaskTexts[] = {
    {sd_Task::InstallationFiles, "Add Operating System &Installation Files",
     "Add Operating System Installation Files"},
    {sd_Task::DriverFiles, "Add Operating System &Device Drivers", "Add Operating System Device Drivers"},
    {sd_Task::UtilityFiles, "Add Operating System &Utility Files", "Add Operating System Utility Files"},
    {sd_Task::ApplicationFiles, "Add Operating System &Application Files",
     "Add Operating System Application Files"},
    {sd_Task::PrebootFiles, "Add &Pre-Boot Environment Source Files",
     "Add Pre-Boot Environment Source Files"},
};

// The rows below the installation files, top to bottom.
const sd_Task kMovableRows[] = {sd_Task::DriverFiles, sd_Task::UtilityFiles, sd_Task::ApplicationFiles,
                                sd_Task::PrebootFiles};

constexpr const char* kWelcomeText =
    "Welcome to the Torvik Harborline Kitorium Configurator.\n\nThis tool allows you to configure your "
    "Kitorium source server to perform Operating System installations.\n\nPlease choose a task to perform "
    "from the right.";

// Web addresses are deployment settings: the configuration may name them, these stand in otherwise.
constexpr const char* kWebSiteElement = "//kitorium_web_site";
constexpr const char* kWebSiteFallback = "https://kitorium.torvik.example/";
constexpr const char* kSupportSiteElement = "//support_web_site";
constexpr const char* kSupportSiteFallback = "https://support.torvik.example/";

constexpr int kBannerHeight = 56;
constexpr int kWelcomeWidth = 200;
constexpr int kMinimumWidth = 560;

} // namespace

frm_MainWindow::frm_MainWindow(sd_KitSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session), prompt_(session.boxes, this) {
    setWindowTitle("Torvik Harborline Kitorium Configurator");
    setWindowIcon(ApplicationIcon());
    editions_ = ReadEditions(session_.xml);
    baseDirectory_ = session_.xml.GetXPathXML("//base_toolkit_dir", "stagedesk.xml");
    BuildMenus();
    BuildPanels();
    BuildStatusBar();
    ConfigureTasks();
    ShowEditions();
    setMinimumSize(kMinimumWidth, 360);
    resize(640, 440);
}

void frm_MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    connect(file->addAction("&Browse Toolkit Source Tree"), &QAction::triggered, this,
            [this] { OpenLocal(baseDirectory_); });
    file->addSeparator();
    connect(file->addAction("E&xit"), &QAction::triggered, this, &QWidget::close);

    QMenu* show = menuBar()->addMenu("&View")->addMenu("&Show");
    statusBarItem_ = show->addAction("&Status Bar");
    welcomeItem_ = show->addAction("&Welcome Text");
    for (QAction* toggle : {statusBarItem_, welcomeItem_}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
        connect(toggle, &QAction::toggled, this, &frm_MainWindow::PlacePanels);
    }

    QMenu* tools = menuBar()->addMenu("&Tools");
    QMenu* tasks = tools->addMenu("&Tasks");
    for (const TaskTexts& texts : kTaskTexts) {
        Row(texts.task).menuItem = tasks->addAction(texts.menuText);
        connect(Row(texts.task).menuItem, &QAction::triggered, this,
                [this, task = texts.task] { OpenTask(task); });
    }
    connect(tools->addAction("&Verify Kit..."), &QAction::triggered, this,
            [this] { sd::ShowKitVerification(this, session_.xml, baseDirectory_); });

    QMenu* help = menuBar()->addMenu("&Help");
    connect(help->addAction("Kitorium &Readme"), &QAction::triggered, this,
            [this] { OpenLocal(sd::JoinPath(sd::KitPath(baseDirectory_), "kitdocs/docs/readme.htm")); });
    connect(help->addAction("Kitorium &User's Reference"), &QAction::triggered, this,
            [this] { OpenLocal(sd::JoinPath(sd::KitPath(baseDirectory_), "kitdocs/docs/UserGuide.pdf")); });
    help->addSeparator();
    connect(help->addAction("Kitorium &Web Site"), &QAction::triggered, this,
            [this] { OpenWebSite(kWebSiteElement, kWebSiteFallback); });
    connect(help->addAction("Torvik &Support Web Site"), &QAction::triggered, this,
            [this] { OpenWebSite(kSupportSiteElement, kSupportSiteFallback); });
    help->addSeparator();
    connect(help->addAction("&About"), &QAction::triggered, this, &frm_MainWindow::ShowAbout);
}

void frm_MainWindow::BuildPanels() {
    auto* central = new QWidget(this);
    central->setObjectName("central");
    central->setStyleSheet("#central { background: white; }");
    central->installEventFilter(this);
    setCentralWidget(central);

    auto* banner = new QLabel("  Torvik Harborline Kitorium Configurator", central);
    banner->setObjectName("banner");
    banner->setStyleSheet("background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1d3f73, stop:1 "
                          "#4f88d0); color: white; font-size: 15px; font-weight: bold;");

    welcomePanel_ = new QWidget(central);
    welcomePanel_->setObjectName("welcomePanel");
    welcomePanel_->setStyleSheet("#welcomePanel { background: #e6eef9; }");
    auto* welcome = new QLabel(kWelcomeText, welcomePanel_);
    welcome->setObjectName("welcomeText");
    welcome->setWordWrap(true);
    welcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    welcome->setGeometry(12, 16, kWelcomeWidth - 24, 260);

    border_ = new QFrame(central);
    border_->setObjectName("verticalBorder");
    border_->setFrameShape(QFrame::VLine);
    border_->setFrameShadow(QFrame::Sunken);

    taskPanel_ = new QWidget(central);
    taskPanel_->setObjectName("taskPanel");
    auto* heading = new QLabel("Choose a task...", taskPanel_);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    heading->move(20, 24);
    heading->adjustSize();

    for (const TaskTexts& texts : kTaskTexts) {
        TaskRow& row = Row(texts.task);
        const QString name = TaskInfo(texts.task).consoleName;
        row.picture = new QLabel(taskPanel_);
        row.picture->setObjectName("picture_" + name);
        row.picture->setPixmap(TaskPicture(texts.task));
        row.picture->setFixedSize(kTaskPictureSize, kTaskPictureSize);
        row.link = new sd_TaskLink(texts.linkText, taskPanel_);
        row.link->setObjectName("link_" + name);
        row.link->setFixedHeight(kTaskPictureSize);
        connect(row.link, &QLabel::linkActivated, this, [this, task = texts.task] { OpenTask(task); });
    }
}

void frm_MainWindow::BuildStatusBar() {
    auto* heading = new QLabel("Installed Kitorium Versions:", this);
    // The status bar squeezes its widgets below their texts; the window's minimum width keeps them whole.
    heading->setMinimumWidth(heading->sizeHint().width());
    statusBar()->addWidget(heading);
    for (const char* edition : {"winpe", "dos", "linux"}) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QString("edition_") + edition);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(130);
        statusBar()->addWidget(panel);
    }
}

void frm_MainWindow::ConfigureTasks() {
    Row(sd_Task::InstallationFiles).link->move(kLinkLeft, kInstallationRowTop);
    Row(sd_Task::InstallationFiles).picture->move(kPictureLeft, kInstallationRowTop);
    int top = kFirstRowTop;
    for (sd_Task task : kMovableRows) {
        TaskRow& row = Row(task);
        row.link->move(kLinkLeft, top);
        row.picture->move(kPictureLeft, top);
        if (IsTaskAvailable(session_.xml, task, editions_)) {
            top += kRowPitch;
            continue;
        }
        row.menuItem->setVisible(false);
        row.link->setText(QString());
        row.link->setVisible(false); // no Tab stop where nothing is shown
        row.picture->setVisible(false);
    }
    for (TaskRow& row : rows_)
        row.link->adjustSize();
}

void frm_MainWindow::ShowEditions() {
    const std::pair<const sd_Edition*, const char*> panels[] = {{&editions_.winpe, "WinPE Toolkit: v. "},
                                                                {&editions_.dos, "Dos Toolkit: v. "},
                                                                {&editions_.linux_, "Linux Toolkit: v. "}};
    for (const auto& [edition, label] : panels) {
        auto* panel = findChild<QLabel*>(QString("edition_") + edition->key);
        if (!edition->installed)
            continue;
        panel->setText(label + edition->version);
        panel->setMinimumWidth(qMax(panel->minimumWidth(), panel->sizeHint().width()));
        panel->setToolTip(sd::ShownPath(sd::JoinPath(sd::KitPath(baseDirectory_), edition->folder)));
    }
}

// The panels reach from the banner down to the status bar, or to the window's bottom without it;
// without the welcome panel the task panel takes the whole width. Placed whenever the central area
// changes: hiding the status bar resizes it only once the layout has run.
void frm_MainWindow::PlacePanels() {
    statusBar()->setVisible(statusBarItem_->isChecked());
    const int panelHeight = centralWidget()->height() - kBannerHeight;
    const bool welcome = welcomeItem_->isChecked();
    findChild<QLabel*>("banner")->setGeometry(0, 0, width(), kBannerHeight);
    welcomePanel_->setVisible(welcome);
    border_->setVisible(welcome);
    welcomePanel_->setGeometry(0, kBannerHeight, kWelcomeWidth, panelHeight);
    border_->setGeometry(kWelcomeWidth - 1, kBannerHeight, 2, panelHeight);
    if (welcome)
        taskPanel_->setGeometry(kWelcomeWidth, kBannerHeight, width() - kWelcomeWidth, panelHeight);
    else
        taskPanel_->setGeometry(0, kBannerHeight, width(), panelHeight);
}

// Never narrower than the status bar's texts; measured once shown, when its size grip has come.
void frm_MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    setMinimumWidth(qMax(kMinimumWidth, statusBar()->minimumSizeHint().width()));
}

bool frm_MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        PlacePanels();
    return QMainWindow::eventFilter(watched, event);
}

frm_MainWindow::~frm_MainWindow() {
    for (frm_OSFiles* wizard : Wizards())
        delete wizard;
}

frm_OSFiles* frm_MainWindow::OpenTask(sd_Task task) {
    auto* wizard = new frm_OSFiles(task, session_);
    std::erase_if(wizards_, [](const QPointer<frm_OSFiles>& closed) { return closed.isNull(); });
    wizards_.emplace_back(wizard);
    wizard->show();
    return wizard;
}

std::vector<frm_OSFiles*> frm_MainWindow::Wizards() const {
    std::vector<frm_OSFiles*> open;
    for (const QPointer<frm_OSFiles>& wizard : wizards_) {
        if (wizard)
            open.push_back(wizard);
    }
    return open;
}

// Open wizards are closed first; one whose user chose to stay keeps the program running.
void frm_MainWindow::closeEvent(QCloseEvent* event) {
    for (frm_OSFiles* wizard : Wizards()) {
        if (wizard->isVisible() && !wizard->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void frm_MainWindow::OpenLocal(const QString& path) {
    const QString found = sd::ResolveCase(sd::KitPath(path));
    if (!QFileInfo::exists(found)) {
        prompt_.Show("The system cannot find the file specified:\n\n" + sd::ShownPath(path), "File Not Found",
                     sd_prompt::Icon::Warning);
        return;
    }
    OpenAddress(QUrl::fromLocalFile(found), sd::ShownPath(found));
}

void frm_MainWindow::OpenAddress(const QUrl& address, const QString& shown) {
    if (session_.openUrl(address))
        return;
    prompt_.Show("No program could be started to open:\n\n" + shown, "Unable To Start",
                 sd_prompt::Icon::Warning);
}

void frm_MainWindow::OpenWebSite(const char* element, const char* fallback) {
    const QString configured = session_.xml.GetXPathXML(element, "stagedesk.xml").trimmed();
    const QUrl address(configured.isEmpty() ? QString(fallback) : configured);
    OpenAddress(address, address.toString());
}

void frm_MainWindow::ShowAbout() {
    frm_About about(session_.xml.GetXPathXML("//version", "stagedesk.xml"), this);
    about.exec();
}
