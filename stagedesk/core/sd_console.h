// The console mode: one copy task without a window, for kit servers reached over a remote shell.
//
//   stagedesk --console [--home DIR] --task TASK --item NAME --source PATH --dest NAME [--yes] [--resume]
//   stagedesk --console --verify [--home DIR] [--task TASK --dest NAME]     (sd_consoleverify.h)
//
// --resume answers Yes to the question whether to resume a copy that did not finish.
// It runs the start-up checks, the paths page's checks, the space check and the copy run, asking its
// questions on the terminal. Exit status: 0 copied, 1 a start-up check ended the program, 2 bad
// command line / unknown task or item / task not offered / item file missing or unreadable / refused
// destination or source (a missing one, or one that the copy would remove), 3 no room or the copy was
// aborted or failed, 4 a check of the kit found differences.
#pragma once

#include <QString>
#include <QStringList>
#include <iosfwd>

namespace sd {

enum ConsoleStatus {
    kConsoleCopied = 0,
    kConsoleStartupFailed = 1,
    kConsoleRefused = 2,
    kConsoleNotCopied = 3
};

// arguments: the program's arguments after its name, "--console" included. defaultHome: the folder
// used without --home (the executable's). Relative --home and --source are taken from the current
// folder at the call. The answers read from in are printed unless both in and out are a terminal.
int RunConsole(const QStringList& arguments, const QString& defaultHome, std::istream& in, std::ostream& out,
               bool outIsTerminal, bool inIsTerminal);

// Whether the arguments ask for the console mode.
bool WantsConsole(const QStringList& arguments);

} // namespace sd
