// The steps before and after the discs are copied, as the item description file lists them.
#include "stagedesk/core/sd_filecopy.h"

#include "stagedesk/core/sd_IOManip.h"
#include "stagedesk/core/sd_coalescer.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_temporary.h"
#include "stagedesk/core/sd_xml.h"

#include <QFileInfo>

namespace {

constexpr const char* kPostProcessingError = "An Error Occurred, File Copy Aborted... Click Finish To Exit";

QString Indexed(const QString& entry, int index) {
    return entry + "[" + QString::number(index) + "]";
}

} // namespace

QString sd_filecopy::Placeholders(const QString& path) const {
    return sd::ResolvePlaceholders(job_, path);
}

bool sd_filecopy::PreProcessFail(const QString& text, bool withReason) {
    if (withReason)
        AbortWithReason(text);
    else
        Abort(text);
    Status("Click Finish To Exit...");
    return false;
}

bool sd_filecopy::PreProcess() {
    Status("Performing Pre-Processing Steps");
    for (const QString& path : Items("//check_file/path")) {
        const QString file = Placeholders(path);
        if (!QFileInfo(file).isFile())
            return PreProcessFail("Pre-Processing Error - File Not Found: " + sd::ShownPath(file));
    }
    if (HasNode("remove_directory")) {
        Status("- Removing Directories");
        for (const QString& path : Items("//remove_directory/path")) {
            const QString folder = Placeholders(path);
            if (QFileInfo(folder).isDir() && !io_->RemoveDirectory(folder))
                return PreProcessFail(
                    "Pre-Processing Error - Error Removing Directory: " + sd::ShownPath(folder), true);
        }
    }
    if (HasNode("remove_file")) {
        Status("- Removing Files");
        for (const QString& path : Items("//remove_file/path")) {
            const QString file = Placeholders(path);
            if (QFileInfo::exists(file) && !io_->RemoveFile(file))
                return PreProcessFail("Pre-Processing Error - Error Removing Files, File Copy Aborted... ",
                                      true);
        }
    }
    return true;
}

bool sd_filecopy::PostProcess() {
    const QString node = mediaType_ + "/post_processing";
    if (!HasNode(node))
        return true;
    Status("Performing Post-Processing Steps...");
    Status("-Creating Directories...");
    for (const QString& path : Items("//" + node + "/create_directory/path")) {
        if (!io_->CreateNewDirectory(Placeholders(path))) {
            AbortWithReason(kPostProcessingError);
            return false;
        }
    }
    Status("-Copying Directories...");
    if (!PostCopyDirectories())
        return false;
    Status("-Copying Files...");
    return PostCopyFiles();
}

bool sd_filecopy::PostCopyDirectories() {
    const QString entries = "//" + mediaType_ + "/post_processing/directory_copy";
    for (int i = 1; HasNode(Indexed(entries, i)); ++i) {
        const QString entry = Indexed(entries, i);
        const QString source = sd::WithTrailingSeparator(Placeholders(Item(entry + "/path")));
        const QString target = sd::WithTrailingSeparator(Placeholders(Item(entry + "/target")));
        io_->SourceDirectory = source;
        if (!io_->GetAllFiles() || !io_->CreateDirectories(source, target)) {
            AbortWithReason(kPostProcessingError);
            return false;
        }
        const int files = int(io_->FileList.size());
        progress_->InitializeUI(1, files, 0, files, itemName_);
        if (!CopyFiles(source, target, true))
            return false;
    }
    return true;
}

bool sd_filecopy::PostCopyFiles() {
    const QString entries = "//" + mediaType_ + "/post_processing/file_copy";
    for (int i = 1; HasNode(Indexed(entries, i)); ++i) {
        const QString entry = Indexed(entries, i);
        const QString file = Item(entry + "/file");
        const QString target = Placeholders(Item(entry + "/target"));
        // The target folder may not exist yet; a file that cannot be placed is a failure, not a success.
        if (!io_->CreateNewDirectory(target)) {
            AbortWithReason(kPostProcessingError);
            return false;
        }
        sd::RemoveTemporariesIn(platform_, target);
        const QString source = sd::ResolveCase(sd::JoinPath(Placeholders(Item(entry + "/path")), file));
        CountBytes({source});
        if (!CopyOrKeep(source, sd::JoinPath(target, file)))
            return false;
    }
    return true;
}
