// The main window: menus, the task links laid out by what the installed editions offer, the welcome
// panel, the status bar with the installed editions, and the help items. Each task opens a copy wizard.
#pragma once

#include "stagedesk/core/sd_editions.h"
#include "stagedesk/core/sd_tasks.h"
#include "stagedesk/ui/sd_windowprompt.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class frm_OSFiles;
struct sd_KitSession;

class frm_MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit frm_MainWindow(sd_KitSession& session, QWidget* parent = nullptr);
    ~frm_MainWindow() override;

    // Opens a new copy wizard for the task and shows it.
    frm_OSFiles* OpenTask(sd_Task task);
    // The wizards still open.
    std::vector<frm_OSFiles*> Wizards() const;

    // Tops of the task rows in the task panel.
    static constexpr int kInstallationRowTop = 60;
    static constexpr int kFirstRowTop = 88;
    static constexpr int kRowPitch = 28;
    static constexpr int kPictureLeft = 28;
    static constexpr int kLinkLeft = 52;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct TaskRow {
        QAction* menuItem = nullptr;
        QLabel* link = nullptr;
        QLabel* picture = nullptr;
    };

    void BuildMenus();
    void BuildPanels();
    void BuildStatusBar();
    void ConfigureTasks();
    void ShowEditions();
    void PlacePanels();
    // A document or folder of the kit, or a web page, opened by the desktop; failures in a message.
    void OpenLocal(const QString& path);
    void OpenAddress(const QUrl& address, const QString& shown);
    void OpenWebSite(const char* element, const char* fallback);
    void ShowAbout();
    TaskRow& Row(sd_Task task) { return rows_[static_cast<int>(task)]; }

    sd_KitSession& session_;
    sd_WindowPrompt prompt_;
    sd_Editions editions_;
    QString baseDirectory_;
    std::array<TaskRow, 5> rows_;
    QWidget* taskPanel_ = nullptr;
    QWidget* welcomePanel_ = nullptr;
    QFrame* border_ = nullptr;
    QAction* statusBarItem_ = nullptr;
    QAction* welcomeItem_ = nullptr;
    // Top-level windows of their own: a question over one wizard blocks neither this window nor the
    // other wizards.
    std::vector<QPointer<frm_OSFiles>> wizards_;
};
