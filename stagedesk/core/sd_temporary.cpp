#include "stagedesk/core/sd_temporary.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_platform.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace sd {

QString TemporaryPathIn(const QString& folder) {
    const quint32 random = QRandomGenerator::global()->generate();
    return JoinPath(folder, QString("~sd%1.tmp").arg(random, 8, 16, QChar('0')));
}

bool IsTemporaryName(const QString& fileName) {
    static const QRegularExpression shape("^~sd[0-9a-f]{8}\\.tmp$",
                                          QRegularExpression::CaseInsensitiveOption);
    return shape.match(fileName).hasMatch();
}

void RemoveTemporariesIn(sd_platform& platform, const QString& folder) {
    QStringList folders, files;
    if (!platform.ListFolder(folder, folders, files).ok())
        return;
    for (const QString& file : files) {
        if (!IsTemporaryName(QFileInfo(file).fileName()))
            continue;
        platform.MakeNormal(file); // a copy from read-only media is read-only until renamed
        platform.RemoveFile(file);
    }
}

} // namespace sd
