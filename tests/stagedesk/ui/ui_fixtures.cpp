#include "ui_fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

bool ProcessEventsUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return done();
}

QString Configuration(const TestKit& kit, const QStringList& installed, const QString& categories) {
    QString editions;
    const std::pair<const char*, const char*> folders[] = {
        {"dos", "dostk"}, {"winpe", "winpetk"}, {"linux", "linuxtk"}};
    const std::pair<const char*, const char*> versions[] = {
        {"dos", "2.4"}, {"winpe", "1.3"}, {"linux", "3.1"}};
    for (int i = 0; i < 3; ++i) {
        const QString key = folders[i].first;
        editions +=
            QString("<%1_toolkit_dir>%2</%1_toolkit_dir><%1_toolkit_version>%3</%1_toolkit_version>"
                    "<%1_toolkit_installed>%4</%1_toolkit_installed>")
                .arg(key, folders[i].second, versions[i].second, installed.contains(key) ? "Yes" : "No");
    }
    return "<stagedesk><version>1.4.0</version><base_toolkit_dir>" + kit.Base() + "</base_toolkit_dir>" +
           editions + categories + "</stagedesk>";
}

sd_prompt::Answer ScriptedBoxes::AskOver(QWidget* window, const QString& text, const QString& caption,
                                         sd_prompt::Buttons buttons, sd_prompt::Icon icon,
                                         const QString& details) {
    owners.emplace_back(caption, window);
    return prompt_.AskWithDetails(text, caption, buttons, icon, details);
}

UiKit::UiKit()
    : xml(kit.Home()), session{kit.Home(), xml, boxes, platform, [this](const QUrl& address) {
                                   opened << address;
                                   return openSucceeds;
                               }} {}

void UiKit::Configure(const QStringList& installed, const QString& categories) const {
    kit.Write("kit/stagedesk/xml/stagedesk.xml", Configuration(kit, installed, categories));
}
