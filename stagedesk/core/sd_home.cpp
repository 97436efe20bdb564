#include "stagedesk/core/sd_home.h"

#include "stagedesk/core/sd_paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace sd {

namespace {

bool NamesHome(const QStringList& arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
        return argument == "--home" || argument.startsWith("--home=");
    });
}

bool IsConfiguratorFolder(const QString& folder) {
    const QString absolute = QDir::current().absoluteFilePath(KitPath(folder));
    return QFileInfo(ResolveCase(JoinPath(JoinPath(absolute, "xml"), "stagedesk.xml"))).isFile();
}

} // namespace

QString DefaultHome(const QString& programFolder) {
    const QString named = qEnvironmentVariable(kHomeVariable);
    return named.isEmpty() ? programFolder : named;
}

QString MissingHomeMessage(const QStringList& arguments, const QString& programFolder) {
    const QString home = DefaultHome(programFolder);
    if (NamesHome(arguments) || IsConfiguratorFolder(home))
        return QString();
    const QString tried = home == programFolder ? "The program's folder, "
                                                : "The folder that " + QString(kHomeVariable) + " names, ";
    return tried + ShownPath(QDir::current().absoluteFilePath(KitPath(home))) +
           ", is not a configurator folder: it holds no xml" + QDir::separator() +
           "stagedesk.xml.\n\nName the configurator's folder of a kit with --home DIR or with the "
           "environment "
           "variable " +
           kHomeVariable + ".";
}

} // namespace sd
