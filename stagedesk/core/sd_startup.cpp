#include "stagedesk/core/sd_startup.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_text.h"
#include "stagedesk/core/sd_xml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr const char* kLocalizationMissing =
    "There was an error opening the localization file. The Kitorium Configurator cannot continue. Please "
    "replace this file, or reinstall the Torvik Harborline Kitorium.";
constexpr const char* kConfigurationMissing =
    "The file \"stagedesk.xml\" could not be found.\n\nPlease reinstall the Torvik Harborline Kitorium.";
constexpr const char* kNoEdition =
    "A compatible version of the Torvik Harborline Kitorium\ncould not be "
    "found.\n\nPlease install a compatible version of the Torvik Harborline Kitorium.";

QString ReadErrorMessage(const QString& path) {
    return "There was an error reading:\n\n" + sd::ShownPath(path) +
           "\n\nThis is a required file. Please reinstall the Torvik Harborline Kitorium.";
}

} // namespace

sd_startup::sd_startup(const QString& homeDirectory, sd_xml& xml, sd_prompt& prompt)
    : home_(QDir(sd::KitPath(homeDirectory)).absolutePath()), xml_(xml), prompt_(prompt) {}

bool sd_startup::Run(const std::function<void()>& step) {
    auto stepped = [&] {
        if (step)
            step();
    };
    QDir::setCurrent(home_);
    QString ignored;
    if (FileCheck("xml", "sdlocal_en.xml", QString(), ignored) != CheckResult::Passed) {
        prompt_.Show(kLocalizationMissing, "Error Opening File", sd_prompt::Icon::Error);
        return false;
    }
    stepped();
    if (FileCheck("xml", "stagedesk.xml", QString(), ignored) != CheckResult::Passed) {
        prompt_.Show(kConfigurationMissing, "File Not Found", sd_prompt::Icon::Error);
        return false;
    }
    if (!xml_.Load("stagedesk.xml")) {
        prompt_.Show(ReadErrorMessage(xml_.FilePath("stagedesk.xml")) + "\n\n" + xml_.LastError(),
                     "File Read Error", sd_prompt::Icon::Error);
        return false;
    }
    stepped();
    xml_.RemoveStaleSaves();
    baseDirectory_ = sd::ShownPath(QFileInfo(home_).absolutePath());
    if (!Write("base_toolkit_dir", baseDirectory_))
        return false;
    stepped();
    for (sd_Edition* edition : {&editions_.dos, &editions_.winpe, &editions_.linux_}) {
        if (!CheckEdition(*edition))
            return false;
    }
    stepped();
    if (!editions_.AnyInstalled()) {
        prompt_.Show(kNoEdition, "Supported Kitorium Not Found", sd_prompt::Icon::Error);
        return false;
    }
    return true;
}

bool sd_startup::CheckEdition(sd_Edition& edition) {
    const QString key = edition.key;
    edition.folder = xml_.GetXPathXML("//" + key + "_toolkit_dir", "stagedesk.xml");
    const QString minimum = xml_.GetXPathXML("//" + key + "_toolkit_version", "stagedesk.xml");
    QString found;
    const CheckResult result = FileCheck("..\\" + edition.folder, "version.ini", minimum, found);
    if (result == CheckResult::Fatal)
        return false;
    edition.installed = result == CheckResult::Passed;
    // A version file without a version line passes; the recorded version then stays as it was.
    edition.version = found.isNull() ? minimum : found;
    if (!Write(key + "_toolkit_installed", edition.installed ? "Yes" : "No"))
        return false;
    return !edition.installed || found.isNull() || Write(key + "_toolkit_version", found);
}

bool sd_startup::Write(const QString& element, const QString& value) {
    if (xml_.WriteToXML("stagedesk.xml", element, value))
        return true;
    prompt_.Show(xml_.LastError(), "File Write Error", sd_prompt::Icon::Error);
    return false;
}

sd_startup::CheckResult sd_startup::FileCheck(const QString& folder, const QString& fileName,
                                              const QString& minimumVersion, QString& versionFound) {
    const QString path = sd::ResolveCase(sd::JoinPath(sd::JoinPath(home_, folder), fileName));
    if (!QFileInfo(path).isFile())
        return CheckResult::Failed;
    if (fileName.endsWith(".xml", Qt::CaseInsensitive))
        return CheckResult::Passed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt_.Show(ReadErrorMessage(path), "File Read Error", sd_prompt::Icon::Error);
        return CheckResult::Fatal;
    }
    for (bool first = true; !file.atEnd(); first = false) {
        const QByteArray bytes = file.readLine();
        QString line = QString::fromUtf8(first ? sd::WithoutByteOrderMark(bytes) : bytes);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (!line.startsWith("Version = "))
            continue;
        const QString version = line.mid(10);
        if (sd::CultureCompare(version, minimumVersion) < 0)
            return CheckResult::Failed;
        versionFound = version;
        return CheckResult::Passed;
    }
    return CheckResult::Passed;
}
