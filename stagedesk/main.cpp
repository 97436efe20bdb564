// stagedesk: the kit's configurator. This build runs its console mode; the windows come later.
#include "stagedesk/core/sd_console.h"

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
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (!sd::WantsConsole(arguments)) {
        std::cerr << "stagedesk: the windowed program is not built yet; use the console mode:\n"
                     "  stagedesk --console [--home DIR] --task TASK --item NAME --source PATH --dest NAME "
                     "[--yes]\n";
        return 2;
    }
    return sd::RunConsole(arguments, QCoreApplication::applicationDirPath(), std::cin, std::cout,
                          isatty(fileno(stdout)) != 0);
}
