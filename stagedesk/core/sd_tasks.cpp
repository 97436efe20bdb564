#include "stagedesk/core/sd_tasks.h"

#include "stagedesk/core/sd_text.h"
#include "stagedesk/core/sd_xml.h"

namespace {

constexpr const char* kSpecificOsPrompt = "Please select the specific Operating System from the list below:";

// One row per task, in the order of the main window's menu.
const sd_TaskInfo kTasks[] = {
    {sd_Task::InstallationFiles, "os", "Add Operating System Installation Files", "OSFiles",
     "//operating_systems/default_path", "os", "operating_systems",
     "The operating system installation files will be copied to the following directory within ", "\\os",
     "Choose An Operating System Type...",
     "Please select the Operating System type you wish to copy the Operating System installation files for:",
     kSpecificOsPrompt},
    {sd_Task::DriverFiles, "drivers", "Add Operating System Device Driver Files", "Driver Files",
     "//device_drivers/default_path", "driver_set", "device_drivers",
     "The operating system driver files will be copied to the following directory within ", "\\drvs",
     "Choose An Operating System Type...",
     "Please select the Operating System type you wish to copy the Operating System driver files for:",
     kSpecificOsPrompt},
    {sd_Task::ApplicationFiles, "applications", "Add Operating System Application Files", "Application Files",
     "//application_files/default_path", "application", "application_files",
     "The operating system application files will be copied to the following directory within ", "\\apps",
     "Choose An Operating System Type...",
     "Please select the application you wish to copy from the list below:",
     "Please select the specific application from the list below:"},
    {sd_Task::UtilityFiles, "utilities", "Add Operating System Utility Files", "Utility Files",
     "//utility_files/default_path", "utility", "utility_files",
     "The operating system utility files will be copied to the following directory within ", "\\utils",
     "Choose An Operating System Type...",
     "Please select the Operating System type you wish to copy the Operating System utility files for:",
     "Please select the specific utility from the list below:"},
    {sd_Task::PrebootFiles, "preboot", "Add Pre-boot Environment Files", "Preboot Files",
     "//preboot_files/default_path", "preboot", "preboot_files",
     "The pre-boot environment source files will be copied to the following directory within ",
     "\\WinPE_Source", "Choose A Pre-boot Environment Type...",
     "Please select the pre-boot environment type you wish to copy the pre-boot environment files for:",
     "Please select the specific pre-boot environment from the list below:"},
};

} // namespace

const sd_TaskInfo& TaskInfo(sd_Task task) {
    return kTasks[static_cast<int>(task)];
}

const sd_TaskInfo* TaskByConsoleName(const QString& name) {
    for (const sd_TaskInfo& info : kTasks) {
        if (name == info.consoleName)
            return &info;
    }
    return nullptr;
}

QString AvailabilityQuery(sd_Task task, const sd_Editions& editions) {
    const QString element = TaskInfo(task).categoryElement;
    QString query;
    for (const sd_Edition* edition : {&editions.winpe, &editions.dos, &editions.linux_}) {
        if (!edition->installed)
            continue;
        const QString alternative = "//" + element + "[@" + edition->key + "='Yes']";
        query = query.isEmpty() ? alternative : query + " | " + alternative;
    }
    return query;
}

bool IsTaskAvailable(sd_xml& xml, sd_Task task, const sd_Editions& editions) {
    if (task == sd_Task::InstallationFiles)
        return true;
    const QString query = AvailabilityQuery(task, editions);
    return !query.isEmpty() && xml.CheckNodeExists(query, "stagedesk.xml");
}

QString ItemEntryXPath(sd_Task task, const QString& item) {
    return "//" + QString(TaskInfo(task).itemElement) + "[name=" + sd::XPathLiteral(item) + "]/file";
}

QString ItemFile(sd_xml& xml, sd_Task task, const QString& item) {
    return xml.GetXPathXML(ItemEntryXPath(task, item), "stagedesk.xml");
}

QString TaskFolder(sd_xml& xml, sd_Task task) {
    return xml.GetXPathXML(TaskInfo(task).taskFolderPath, "stagedesk.xml");
}

QStringList CategoryTypes(sd_xml& xml, sd_Task task) {
    if (!xml.GetMultiXPathXML("//" + QString(TaskInfo(task).categoryElement) + "/category/@name",
                              "stagedesk.xml"))
        return {};
    return xml.str_XMLData;
}

QStringList ItemNames(sd_xml& xml, sd_Task task, const QString& type) {
    const sd_TaskInfo& info = TaskInfo(task);
    const QString category =
        type.isEmpty() ? QString("category") : "category[@name=" + sd::XPathLiteral(type) + "]";
    const QString query =
        "//" + QString(info.categoryElement) + "/" + category + "/" + info.itemElement + "/name";
    if (!xml.GetMultiXPathXML(query, "stagedesk.xml"))
        return {};
    return xml.str_XMLData;
}
