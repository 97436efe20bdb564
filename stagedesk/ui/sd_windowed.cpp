#include "stagedesk/ui/sd_windowed.h"

#include "stagedesk/core/sd_home.h"
#include "stagedesk/core/sd_platform.h"
#include "stagedesk/core/sd_xml.h"
#include "stagedesk/ui/frm_MainWindow.h"
#include "stagedesk/ui/frm_SplashScreen.h"
#include "stagedesk/ui/sd_kitsession.h"
#include "stagedesk/ui/sd_taskpictures.h"
#include "stagedesk/ui/sd_windowprompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLockFile>
#include <QRegularExpression>

namespace sd {

namespace {

// "--home DIR" or "--home=DIR", taken from the folder the program was started in.
QString HomeDirectory(const QStringList& arguments) {
    QString home = DefaultHome(QCoreApplication::applicationDirPath());
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--home" && i + 1 < arguments.size())
            home = arguments[++i];
        else if (arguments[i].startsWith("--home="))
            home = arguments[i].mid(7);
    }
    return QDir::cleanPath(QDir::current().absoluteFilePath(home));
}

} // namespace

QString InstanceLockPath() {
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    user.remove(QRegularExpression("[^A-Za-z0-9_.-]"));
    return QDir(QDir::tempPath()).filePath("StageDesk-" + user + ".lock");
}

int RunWindowed(int& argc, char** argv) {
    QApplication application(argc, argv);
    application.setWindowIcon(ApplicationIcon());
    const QString home = HomeDirectory(application.arguments());
    sd_MessageBoxes boxes;
    const QString missingHome =
        MissingHomeMessage(application.arguments().mid(1), QCoreApplication::applicationDirPath());
    if (!missingHome.isNull()) {
        boxes.AskOver(nullptr, missingHome, kNoConfiguratorFolderCaption, sd_prompt::Buttons::OK,
                      sd_prompt::Icon::Error, QString());
        return 1;
    }

    QLockFile instance(InstanceLockPath());
    instance.setStaleLockTime(0); // a lock left by a process that has ended is taken over
    if (!instance.tryLock(0) && instance.error() == QLockFile::LockFailedError)
        return 0;

    sd_xml xml(home);
    {
        frm_SplashScreen splash(home, xml, boxes);
        if (splash.exec() != QDialog::Accepted)
            return 1;
    }
    sd_KitSession session{home, xml, boxes, sd_platform::Real(),
                          [](const QUrl& address) { return QDesktopServices::openUrl(address); }};
    frm_MainWindow window(session);
    window.show();
    application.exec();
    return 0;
}

} // namespace sd
