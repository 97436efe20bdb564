// stagedesk: the kit's configurator, windowed, or in its console mode with --console.
#include "stagedesk/core/sd_console.h"
#include "stagedesk/core/sd_home.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#ifdef STAGEDESK_WINDOWED
#include "stagedesk/ui/sd_windowed.h"
#endif

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!sd::WantsConsole(arguments)) {
#ifdef STAGEDESK_WINDOWED
        return sd::RunWindowed(argc, argv);
#else
        std::cerr << "stagedesk: the windowed program is not built yet; use the console mode:\n"
                     "  stagedesk --console [--home DIR] --task TASK --item NAME --source PATH --dest NAME "
                     "[--yes]\n";
        return 2;
#endif
    }
    // The application object first: the executable's folder is the last choice of home.
    QCoreApplication application(argc, argv);
    const QStringList consoleArguments = application.arguments().mid(1);
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString missingHome = sd::MissingHomeMessage(consoleArguments, programFolder);
    if (!missingHome.isNull()) {
        std::cout << sd::kNoConfiguratorFolderCaption << '\n' << missingHome.toStdString() << std::endl;
        return sd::kConsoleStartupFailed;
    }
    return sd::RunConsole(consoleArguments, sd::DefaultHome(programFolder), std::cin, std::cout,
                          isatty(fileno(stdout)) != 0, isatty(fileno(stdin)) != 0);
}
