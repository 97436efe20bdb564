// The start-up checks: localization and configuration files present, toolkit editions detected and
// recorded, base directory written. Their messages go through the prompt; a failed check ends the
// program (the caller exits after Run() returns false).
//
// Run it on the thread that may show the messages (the splash screen's, or the console's); step() is
// called after each check so a splash screen can move its progress bar (1 to 5).
#pragma once

#include "stagedesk/core/sd_editions.h"

#include <QString>
#include <functional>

class sd_xml;
class sd_prompt;

class sd_startup {
public:
    sd_startup(const QString& homeDirectory, sd_xml& xml, sd_prompt& prompt);

    // Makes the home folder current and runs the checks in order; false when the program must end. The
    // temporary files of an interrupted save are removed from the xml folder before the first write.
    bool Run(const std::function<void()>& step = {});

    enum class CheckResult { Passed, Failed, Fatal };
    // The file check: folder is relative to the home folder. A ".xml" file passes when present; any
    // other passes when its first "Version = " line holds a version not below minimumVersion (then
    // versionFound is set), or when it has no such line. Fatal after its message when it cannot be read.
    CheckResult FileCheck(const QString& folder, const QString& fileName, const QString& minimumVersion,
                          QString& versionFound);

    // Known after Run(): the parent of the home folder, and the editions found.
    const QString& BaseDirectory() const { return baseDirectory_; }
    const sd_Editions& Editions() const { return editions_; }

private:
    bool CheckEdition(sd_Edition& edition);
    bool Write(const QString& element, const QString& value);

    QString home_;
    sd_xml& xml_;
    sd_prompt& prompt_;
    QString baseDirectory_;
    sd_Editions editions_;
};
