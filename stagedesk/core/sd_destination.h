// The checks of the paths page before a copy starts: the destination name's rules, the 8.3 question,
// a missing source folder, a source that the copy would remove, and the free space check. The texts of
// the wizard are exact; the window and the console mode show them through their prompt.
#pragma once

#include "stagedesk/core/sd_copyjob.h"
#include "stagedesk/core/sd_tasks.h"

#include <QString>
#include <QStringList>

class sd_platform;
class sd_prompt;
class sd_IOManip;
class sd_xml;

namespace sd {

// Whether the name holds one of the eleven texts a directory name may not contain, or names no folder
// of its own: empty, or only dots and blanks ("..", "."), which would make the copy target the task
// folder or the kit itself, and the removal of an existing target would delete it.
bool HasForbiddenText(const QString& destinationName);
// "A directory name may not contain any of the following:..." with caption kInvalidCharactersCaption.
QString InvalidCharactersMessage();
inline constexpr const char* kInvalidCharactersCaption = "Invalid Characters Used";

// A name longer than 8 characters asks the 8.3 question, except for pre-boot files.
bool Needs83Question(sd_Task task, const QString& destinationName);
inline constexpr const char* k83Question =
    "The destination path selected is not 8.3 compliant.\nIf you intend to use this path with the Kitorium "
    "DOS Edition\nyou must select a shorter path.\n\nWould you like to continue?";
inline constexpr const char* k83Caption = "Incompatible Destination Path";

// "The selected directory:\n\n" + source + "\n\nDoes not exist. ..." with caption kMissingSourceCaption.
QString MissingSourceMessage(const QString& source);
inline constexpr const char* kMissingSourceCaption = "Directory Does Not Exist";

// The folders that the copy run removes before it reads the source: the copy target when it exists
// and the item does not keep it ("skip_path_check"), and every existing "//remove_directory/path" of
// the item's pre-processing.
QStringList FoldersRemovedBeforeCopy(sd_xml& xml, const sd_CopyJob& job);
// False after kSourceRemovedCaption's message, which names both folders, when the job's source is one
// of those folders or lies inside one: the copy would delete it before reading it.
bool AcceptSource(sd_platform& platform, sd_xml& xml, const sd_CopyJob& job, sd_prompt& prompt);
inline constexpr const char* kSourceRemovedCaption = "Source Directory Would Be Removed";

// The space check of the copy start: false after the "Not Enough Free Space" message when the volume
// of baseDirectory has fewer free megabytes than the item's "//size".
bool HasRoomForItem(sd_IOManip& io, sd_xml& xml, const QString& itemFile, const QString& baseDirectory,
                    sd_prompt& prompt);
inline constexpr const char* kCheckingSpaceStatus = "Checking for available drive space...";

} // namespace sd
