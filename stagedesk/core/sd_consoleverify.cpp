#include "stagedesk/core/sd_consoleverify.h"

#include "stagedesk/core/sd_consoleio.h"
#include "stagedesk/core/sd_copyjob.h"
#include "stagedesk/core/sd_manifest.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_tasks.h"
#include "stagedesk/core/sd_text.h"
#include "stagedesk/core/sd_verify.h"

#include <QFileInfo>

#include <algorithm>

namespace sd {

namespace {

constexpr int kRefused = 2;

// The named item's folder; empty after a line saying why there is none to check.
QString NamedFolder(sd_xml& xml, const QString& baseDirectory, const QString& taskName,
                    const QString& destination, sd_ConsoleWriter& writer) {
    const sd_TaskInfo* task = TaskByConsoleName(taskName);
    if (!task) {
        writer.Line("Unknown task: " + taskName);
        return QString();
    }
    sd_CopyJob job;
    job.baseDirectory = baseDirectory;
    job.taskFolder = TaskFolder(xml, task->task);
    job.destinationName = destination;
    const QString folder = CopyTarget(job);
    if (!QFileInfo(ManifestPath(folder)).isFile()) {
        writer.Line("No manifest was found for " + ShownPath(folder) + ": " +
                    ShownPath(ManifestPath(folder)));
        return QString();
    }
    return folder;
}

} // namespace

int RunConsoleVerify(sd_xml& xml, const QString& baseDirectory, const QString& taskName,
                     const QString& destination, sd_ConsoleWriter& writer) {
    QStringList folders;
    if (taskName.isEmpty()) {
        folders = KitFoldersWithManifests(xml, baseDirectory);
    } else {
        const QString folder = NamedFolder(xml, baseDirectory, taskName, destination, writer);
        if (folder.isEmpty())
            return kRefused;
        folders << folder;
    }
    QList<sd_ItemCheck> checks;
    for (const QString& folder : folders) {
        writer.Line("Verifying " + ShownPath(folder));
        const sd_ItemCheck check = VerifyFolder(folder, [&](qint64 hashed, qint64 total) {
            writer.Progress(BytesProgressText(hashed, total, -1));
        });
        for (const QString& line : CheckReport(check))
            writer.Line(line);
        checks << check;
    }
    writer.Line(VerifySummary(checks));
    const bool matching =
        std::all_of(checks.begin(), checks.end(), [](const sd_ItemCheck& check) { return check.Matches(); });
    return matching ? 0 : kConsoleDiffers;
}

} // namespace sd
