#include "stagedesk/ui/sd_verifywindow.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_text.h"
#include "stagedesk/core/sd_verify.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <memory>

namespace sd {

namespace {

constexpr int kSteps = 1000;

// Hashes on a worker; the window keeps painting and the dialog shows the bytes done.
QList<sd_ItemCheck> CheckWithProgress(QWidget* parent, const QStringList& folders) {
    QProgressDialog progress("Verifying the kit...", QString(), 0, kSteps, parent);
    progress.setWindowTitle("Verify Kit");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(420);
    QList<sd_ItemCheck> checks;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        for (const QString& folder : folders) {
            checks << VerifyFolder(folder, [&progress, folder](qint64 hashed, qint64 total) {
                QMetaObject::invokeMethod(
                    &progress,
                    [&progress, folder, hashed, total] {
                        progress.setLabelText("Verifying " + ShownPath(folder) + "\n" +
                                              BytesProgressText(hashed, total, -1));
                        progress.setValue(total > 0 ? int(hashed * kSteps / total) : kSteps);
                    },
                    Qt::QueuedConnection);
            });
        }
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    return checks;
}

} // namespace

void ShowKitVerification(QWidget* parent, sd_xml& xml, const QString& baseDirectory) {
    const QList<sd_ItemCheck> checks = CheckWithProgress(parent, KitFoldersWithManifests(xml, baseDirectory));
    const bool matching =
        std::all_of(checks.begin(), checks.end(), [](const sd_ItemCheck& check) { return check.Matches(); });
    QMessageBox box(matching ? QMessageBox::Information : QMessageBox::Warning, "Verify Kit",
                    VerifySummary(checks), QMessageBox::Ok, parent);
    box.setWindowModality(Qt::WindowModal);
    QStringList details;
    for (const sd_ItemCheck& check : checks)
        details << CheckReport(check);
    if (!details.isEmpty())
        box.setDetailedText(details.join("\n"));
    box.exec();
}

} // namespace sd
