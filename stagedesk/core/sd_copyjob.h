// What one copy run is told, and the paths the run derives from it. The paths page checks them before
// the copy starts; the copy engine works with them.
#pragma once

#include <QString>

struct sd_CopyJob {
    QString homeDirectory;    // the configurator's own folder (holds "xml")
    QString itemFile;         // the item description file, as the configuration names it
    QString sourcePath;       // folder or disc to copy from
    QString destinationName;  // the name typed by the user
    QString taskFolder;       // the task's folder under the base directory ("os", "drvs", ...)
    QString baseDirectory;    // the kit's source tree ("//base_toolkit_dir")
    QString dosToolkitFolder; // "//dos_toolkit_dir", for the %dossd% placeholder
};

namespace sd {

// base directory + "\" + task folder + "\" + destination name.
QString CopyTarget(const sd_CopyJob& job);

// A pre- or post-processing path of the item file: trimmed of backslashes at both ends, then "%sdroot%"
// is the base directory (trimmed of backslashes), "%osdir%" the destination name and "%dossd%" the DOS
// toolkit folder; letter case is resolved as on Windows media.
QString ResolvePlaceholders(const sd_CopyJob& job, const QString& path);

} // namespace sd
