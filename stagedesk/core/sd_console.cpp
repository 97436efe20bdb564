#include "stagedesk/core/sd_console.h"

#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_consoleio.h"
#include "stagedesk/core/sd_consoleverify.h"
#include "stagedesk/core/sd_destination.h"
#include "stagedesk/core/sd_filecopy.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_startup.h"
#include "stagedesk/core/sd_statuslog.h"
#include "stagedesk/core/sd_tasks.h"
#include "stagedesk/core/sd_xml.h"

#include <QDir>
#include <QFileInfo>

#include <ostream>

namespace sd {

namespace {

constexpr const char* kUsage =
    "Usage: stagedesk --console [--home DIR] --task TASK --item NAME --source PATH --dest NAME [--yes]\n"
    "  TASK: os, drivers, utilities, applications or preboot";

struct ConsoleArguments {
    QString home, task, item, source, destination;
    bool yes = false, resume = false, verify = false;
};

// A copy needs every value but --home; a check of the kit needs none, or --task with --dest.
bool Complete(const ConsoleArguments& parsed, QString& error) {
    if (parsed.verify) {
        if (parsed.task.isEmpty() == parsed.destination.isEmpty())
            return true;
        error = "--task and --dest name one item together";
        return false;
    }
    const std::pair<const char*, const QString*> required[] = {{"--task", &parsed.task},
                                                               {"--item", &parsed.item},
                                                               {"--source", &parsed.source},
                                                               {"--dest", &parsed.destination}};
    for (const auto& [name, value] : required) {
        if (value->isEmpty()) {
            error = "Missing " + QString(name);
            return false;
        }
    }
    return true;
}

// Accepts "--name value" and "--name=value"; false with the reason when the command line is wrong.
bool Parse(const QStringList& arguments, ConsoleArguments& parsed, QString& error) {
    const std::pair<const char*, QString*> options[] = {{"--home", &parsed.home},
                                                        {"--task", &parsed.task},
                                                        {"--item", &parsed.item},
                                                        {"--source", &parsed.source},
                                                        {"--dest", &parsed.destination}};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--console")
            continue;
        const std::pair<const char*, bool*> flags[] = {
            {"--yes", &parsed.yes}, {"--resume", &parsed.resume}, {"--verify", &parsed.verify}};
        auto flag = std::find_if(std::begin(flags), std::end(flags),
                                 [&](const auto& candidate) { return argument == candidate.first; });
        if (flag != std::end(flags)) {
            *flag->second = true;
            continue;
        }
        const QString name = argument.section('=', 0, 0);
        auto option = std::find_if(std::begin(options), std::end(options),
                                   [&](const auto& candidate) { return name == candidate.first; });
        if (option == std::end(options)) {
            error = "Unknown argument: " + argument;
            return false;
        }
        if (argument.contains('=')) {
            *option->second = argument.section('=', 1);
        } else if (i + 1 < arguments.size()) {
            *option->second = arguments[++i];
        } else {
            error = "Missing value for " + name;
            return false;
        }
    }
    return Complete(parsed, error);
}

QString Absolute(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(KitPath(path)));
}

// The rules of the wizard's Next on the paths page, for a name typed on the command line.
bool AcceptDestination(sd_Task task, const QString& name, bool winpeInstalled, sd_prompt& prompt) {
    if (HasForbiddenText(name)) {
        prompt.Show(InvalidCharactersMessage(), kInvalidCharactersCaption, sd_prompt::Icon::Warning);
        return false;
    }
    if (!winpeInstalled && name.size() > 8) {
        prompt.Show(
            "The destination name may have at most 8 characters when the WinPE edition is not installed.",
            "Destination Name Too Long", sd_prompt::Icon::Warning);
        return false;
    }
    return !Needs83Question(task, name) || prompt.Ask(k83Question, k83Caption, sd_prompt::Buttons::YesNo,
                                                      sd_prompt::Icon::Information) == sd_prompt::Answer::Yes;
}

} // namespace

bool WantsConsole(const QStringList& arguments) {
    return arguments.contains("--console");
}

int RunConsole(const QStringList& arguments, const QString& defaultHome, std::istream& in, std::ostream& out,
               bool outIsTerminal, bool inIsTerminal) {
    ConsoleArguments parsed;
    QString error;
    if (!Parse(arguments, parsed, error)) {
        out << error.toStdString() << '\n' << kUsage << '\n';
        return kConsoleRefused;
    }
    // Taken from the folder the command ran in, before the start-up makes the home folder current.
    const QString home = Absolute(parsed.home.isEmpty() ? defaultHome : parsed.home);
    const QString source = ResolveCase(Absolute(parsed.source));

    sd_ConsoleWriter writer(out, outIsTerminal);
    sd_ConsolePrompt prompt(writer, in, parsed.yes, inIsTerminal && outIsTerminal);
    sd_ConsoleProgress progress(writer);
    sd_xml xml(home);
    sd_startup startup(home, xml, prompt);
    if (!startup.Run())
        return kConsoleStartupFailed;
    if (parsed.verify)
        return RunConsoleVerify(xml, startup.BaseDirectory(), parsed.task, parsed.destination, writer);
    if (parsed.resume)
        prompt.AnswerYes(sd_filecopy::kResumeCaption);

    const sd_TaskInfo* task = TaskByConsoleName(parsed.task);
    if (!task) {
        writer.Line("Unknown task: " + parsed.task + "\n" + kUsage);
        return kConsoleRefused;
    }
    if (!IsTaskAvailable(xml, task->task, startup.Editions())) {
        writer.Line("No installed Kitorium edition offers the task " + parsed.task + ".");
        return kConsoleRefused;
    }
    const QString itemFile = ItemFile(xml, task->task, parsed.item);
    if (itemFile.isNull()) {
        writer.Line("Unknown item for the task " + parsed.task + ": " + parsed.item +
                    "\nItems: " + ItemNames(xml, task->task).join(", "));
        return kConsoleRefused;
    }
    const QString taskFolder = TaskFolder(xml, task->task);
    if (!xml.Load(itemFile) || taskFolder.isEmpty()) {
        writer.Line(taskFolder.isEmpty()
                        ? "The configuration names no folder for the task " + parsed.task + "."
                        : xml.LastError());
        return kConsoleRefused;
    }
    if (!AcceptDestination(task->task, parsed.destination, startup.Editions().winpe.installed, prompt))
        return kConsoleRefused;
    if (!QFileInfo(source).isDir()) {
        // Named as it was typed, as the wizard names the text of its source box.
        prompt.Show(MissingSourceMessage(parsed.source), kMissingSourceCaption, sd_prompt::Icon::Information);
        return kConsoleRefused;
    }
    const sd_CopyJob job{home,
                         itemFile,
                         source,
                         parsed.destination,
                         taskFolder,
                         startup.BaseDirectory(),
                         startup.Editions().dos.folder};
    if (!AcceptSource(sd_platform::Real(), xml, job, prompt))
        return kConsoleRefused;

    progress.UpdateStatus(kCheckingSpaceStatus);
    LogStatus(sd_platform::Real(), home, kCheckingSpaceStatus);
    sd_IOManip io(sd_platform::Real(), prompt);
    if (!HasRoomForItem(io, xml, itemFile, startup.BaseDirectory(), prompt))
        return kConsoleNotCopied;
    sd_filecopy engine(job, prompt, progress);
    engine.SetReadAhead(true);
    return engine.Run() == sd_CopyOutcome::Completed ? kConsoleCopied : kConsoleNotCopied;
}

} // namespace sd
