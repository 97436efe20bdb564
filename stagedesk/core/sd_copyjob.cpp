#include "stagedesk/core/sd_copyjob.h"

#include "stagedesk/core/sd_paths.h"

namespace sd {

QString CopyTarget(const sd_CopyJob& job) {
    return JoinPath(JoinPath(KitPath(job.baseDirectory), job.taskFolder), job.destinationName);
}

QString ResolvePlaceholders(const sd_CopyJob& job, const QString& path) {
    QString resolved = TrimBackslashes(path);
    resolved.replace("%sdroot%", TrimBackslashes(job.baseDirectory));
    resolved.replace("%osdir%", job.destinationName);
    resolved.replace("%dossd%", job.dosToolkitFolder);
    return ResolveCase(KitPath(resolved));
}

} // namespace sd
