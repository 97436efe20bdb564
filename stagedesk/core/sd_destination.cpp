#include "stagedesk/core/sd_destination.h"

#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_xml.h"

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
