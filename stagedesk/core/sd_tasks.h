// The five copy tasks of the main window and what each reads from the configuration file.
//
// Configuration layout: under each task's category element ("operating_systems", "device_drivers",
// "application_files", "utility_files", "preboot_files", carrying dos/winpe/linux="Yes" attributes and
// a "default_path" child naming the task folder) the category types are <category name="...">
// elements holding the items (<os>, <driver_set>, <application>, <utility>, <preboot>), each with
// <name> and <file> (its item description file in the "xml" folder).
#pragma once

#include "stagedesk/core/sd_editions.h"

#include <QString>
#include <QStringList>

class sd_xml;

enum class sd_Task { InstallationFiles, DriverFiles, ApplicationFiles, UtilityFiles, PrebootFiles };

struct sd_TaskInfo {
    sd_Task task;
    const char* consoleName; // "os", "drivers", "applications", "utilities", "preboot"
    const char* windowTitle;
    const char* categoryName;    // passed to the selection page
    const char* taskFolderPath;  // configuration XPath of the task folder
    const char* itemElement;     // "os", "driver_set", ...
    const char* categoryElement; // "operating_systems", "device_drivers", ...
    const char* destinationNotePrefix;
    const char* folderShown;     // "\os"
    const char* selectionHeader; // "Choose An Operating System Type..."
    const char* firstPrompt;
    const char* secondPrompt;
};

const sd_TaskInfo& TaskInfo(sd_Task task);
// The task named on the console ("os", ...), or nullptr.
const sd_TaskInfo* TaskByConsoleName(const QString& name);

// The union query that finds the task's category for the installed editions, in the order WinPE, DOS,
// Linux ("//device_drivers[@winpe='Yes'] | //device_drivers[@dos='Yes']"); empty when none is installed.
QString AvailabilityQuery(sd_Task task, const sd_Editions& editions);
// Installation files are always available; the others when their query finds anything.
bool IsTaskAvailable(sd_xml& xml, sd_Task task, const sd_Editions& editions);

// "//os[name='" + item + "']/file": the configuration XPath of an item's description file.
QString ItemEntryXPath(sd_Task task, const QString& item);
// The item's description file name, or a null QString when the configuration has no such item.
QString ItemFile(sd_xml& xml, sd_Task task, const QString& item);
// The task folder ("//operating_systems/default_path").
QString TaskFolder(sd_xml& xml, sd_Task task);
// The category type names of a task, and the item names of one type (all items when type is empty).
QStringList CategoryTypes(sd_xml& xml, sd_Task task);
QStringList ItemNames(sd_xml& xml, sd_Task task, const QString& type = QString());
