// stagedesk: the kit's configurator, windowed, or in its console mode with --console.
#include "stagedesk/core/sd_console.h"
#include "stagedesk/core/sd_home.h"
#include "stagedesk/ui/sd_windowed.h"

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

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!sd::WantsConsole(arguments))
        return sd::RunWindowed(argc, argv);
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
