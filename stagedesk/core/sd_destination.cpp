#include "stagedesk/core/sd_destination.h"

#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_platform.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_xml.h"

#include <QFileInfo>

#include <algorithm>

namespace sd {

namespace {

// The eleven texts, in the order the message lists them.
const char* const kForbidden[] = {"\"", "*", "/", ":", "<", ">", "?", "|", "..\\", ".\\", "\\"};

} // namespace

bool HasForbiddenText(const QString& destinationName) {
    if (std::all_of(destinationName.begin(), destinationName.end(),
                    [](QChar c) { return c == '.' || c == ' '; }))
        return true;
    for (const char* text : kForbidden) {
        if (destinationName.contains(QLatin1String(text)))
            return true;
    }
    return false;
}

QString InvalidCharactersMessage() {
    QString list = QString(kForbidden[0]) + " ";
    for (size_t i = 1; i < std::size(kForbidden); ++i)
        list += (i > 1 ? "  " : "") + QString(kForbidden[i]);
    return "A directory name may not contain any of the following:\n\n" + list;
}

bool Needs83Question(sd_Task task, const QString& destinationName) {
    return task != sd_Task::PrebootFiles && destinationName.size() > 8;
}

QString MissingSourceMessage(const QString& source) {
    return "The selected directory:\n\n" + source +
           "\n\nDoes not exist. Please choose a different directory.";
}

QStringList FoldersRemovedBeforeCopy(sd_xml& xml, const sd_CopyJob& job) {
    QStringList folders;
    const QString target = CopyTarget(job);
    if (QFileInfo(target).isDir() && !xml.CheckNodeExists("skip_path_check", job.itemFile))
        folders << target;
    if (!xml.CheckNodeExists("pre_processing", job.itemFile) ||
        !xml.GetMultiXPathXML("//remove_directory/path", job.itemFile))
        return folders;
    const QStringList paths = xml.str_XMLData;
    for (const QString& path : paths) {
        const QString folder = ResolvePlaceholders(job, path);
        if (QFileInfo(folder).isDir())
            folders << folder;
    }
    return folders;
}

bool AcceptSource(sd_platform& platform, sd_xml& xml, const sd_CopyJob& job, sd_prompt& prompt) {
    for (const QString& folder : FoldersRemovedBeforeCopy(xml, job)) {
        if (!platform.IsSameOrInside(job.sourcePath, folder))
            continue;
        prompt.Show("The selected directory:\n\n" + ShownPath(job.sourcePath) +
                        "\n\nis, or lies inside, the directory:\n\n" + ShownPath(folder) +
                        "\n\nwhich the copy removes before it reads from the source. Please choose a "
                        "different directory.",
                    kSourceRemovedCaption, sd_prompt::Icon::Warning);
        return false;
    }
    return true;
}

bool HasRoomForItem(sd_IOManip& io, sd_xml& xml, const QString& itemFile, const QString& baseDirectory,
                    sd_prompt& prompt) {
    const double needed = xml.GetXPathXML("//size", itemFile).trimmed().toDouble();
    if (io.CheckDriveFreespace(KitPath(baseDirectory), needed))
        return true;
    prompt.Show("There is not enough free space availabe on drive " + io.DriveOf(KitPath(baseDirectory)) +
                    " to\ncomplete the file copy process.",
                "Not Enough Free Space", sd_prompt::Icon::Error);
    return false;
}

} // namespace sd
