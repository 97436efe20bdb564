// The configurator's folder when the command line names none: the folder that STAGEDESK_HOME names,
// else the program's own. An installed program's folder holds no kit, so the program says how to name one.
#pragma once

#include <QString>
#include <QStringList>

namespace sd {

constexpr const char* kHomeVariable = "STAGEDESK_HOME";
constexpr const char* kNoConfiguratorFolderCaption = "Configurator Folder Not Found";

// STAGEDESK_HOME when it is set and not empty, else programFolder.
QString DefaultHome(const QString& programFolder);

// Null when the arguments (after the program's name) name the folder with --home, or when
// DefaultHome(programFolder) holds xml/stagedesk.xml; otherwise the message that says which folder was
// tried and how to name the right one.
QString MissingHomeMessage(const QStringList& arguments, const QString& programFolder);

} // namespace sd
