// The console's check of the copied kit against its manifests:
//
//   stagedesk --console --verify [--home DIR] [--task TASK --dest NAME]
//
// Every item with a manifest (or the one named) is hashed again, with progress in bytes, and each
// reports the files changed, missing and added. Exit status 0 when everything matches, 4 when anything
// differs, 2 when the named item has no manifest.
#pragma once

#include <QString>

class sd_xml;
class sd_ConsoleWriter;

namespace sd {

constexpr int kConsoleDiffers = 4;

// taskName and destination are both empty (every item) or both given.
int RunConsoleVerify(sd_xml& xml, const QString& baseDirectory, const QString& taskName,
                     const QString& destination, sd_ConsoleWriter& writer);

} // namespace sd
