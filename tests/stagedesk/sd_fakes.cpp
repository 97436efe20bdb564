#include "sd_fakes.h"

#include <QFileInfo>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

sd_FsResult FakePlatform::ListFolder(const QString& folder, QStringList& folders, QStringList& files) {
    ++listCalls;
    if (listFailures > 0) {
        --listFailures;
        return {listFailure, "The disk could not be read."};
    }
    return sd_platform::ListFolder(folder, folders, files);
}

sd_FsResult FakePlatform::CopyFileData(const QString& source, const QString& target, sd_CopiedFile* copied,
                                       sd_SourceRead* read) {
    ++copyAttempts;
    if (beforeCopy)
        beforeCopy(source);
    auto failure = copyFailures.find(QFileInfo(source).fileName());
    if (failure != copyFailures.end() && failure->second.first > 0) {
        --failure->second.first;
        return {failure->second.second, "The device reported a read error."};
    }
    return sd_platform::CopyFileData(source, target, copied, read);
}

sd_FsResult FakePlatform::RemoveTree(const QString& path) {
    if (removeTreeFailure != sd_FsStatus::Ok)
        return {removeTreeFailure, "The folder is in use."};
    return sd_platform::RemoveTree(path);
}

sd_FsResult FakePlatform::RemoveFile(const QString& path) {
    if (removeFileFailure != sd_FsStatus::Ok)
        return {removeFileFailure, "The file is in use."};
    return sd_platform::RemoveFile(path);
}

sd_Volume FakePlatform::VolumeOf(const QString&) {
    sd_Volume volume;
    volume.valid = volumeValid;
    volume.root = "E:";
    volume.totalBytes = volumeMegabytes * 1048576;
    volume.freeBytes = freeBytes;
    volume.error = volumeValid ? QString() : "The device is not ready.";
    return volume;
}

sd_prompt::Answer ScriptedPrompt::Ask(const QString& text, const QString& caption, Buttons buttons,
                                      Icon icon) {
    return AskWithDetails(text, caption, buttons, icon, QString());
}

sd_prompt::Answer ScriptedPrompt::AskWithDetails(const QString& text, const QString& caption, Buttons buttons,
                                                 Icon, const QString& details) {
    asked.push_back({text, caption, buttons, details});
    if (onAsk)
        onAsk(asked.back());
    auto scripted = answers.find(caption);
    if (scripted != answers.end() && !scripted->second.empty()) {
        const Answer answer = scripted->second.front();
        scripted->second.pop_front();
        return answer;
    }
    if (buttons == Buttons::OK)
        return Answer::OK;
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

int ScriptedPrompt::Count(const QString& caption) const {
    return int(Texts(caption).size());
}

QStringList ScriptedPrompt::Texts(const QString& caption) const {
    QStringList texts;
    for (const AskedQuestion& question : asked) {
        if (question.caption == caption)
            texts << question.text;
    }
    return texts;
}

void RecordingProgress::UpdateProgress(int step, const QString& file) {
    ++progressCalls;
    steps += step;
    calls << "progress:" + QString::number(step) + "," + file;
}

void RecordingProgress::InitializeUI(int discValue, int discMaximum, int overallValue, int overallMaximum,
                                     const QString& itemName) {
    calls << QString("init:%1,%2,%3,%4,%5")
                 .arg(discValue)
                 .arg(discMaximum)
                 .arg(overallValue)
                 .arg(overallMaximum)
                 .arg(itemName);
}

QStringList RecordingProgress::Kind(const QString& kind) const {
    QStringList details;
    for (const QString& call : calls) {
        if (call.startsWith(kind + ":"))
            details << call.mid(kind.size() + 1);
    }
    return details;
}

TestKit::TestKit() {
    Write("kit/stagedesk/xml/sdlocal_en.xml", "<localization/>");
    Write(
        "kit/stagedesk/xml/stagedesk.xml",
        "<stagedesk><base_toolkit_dir/><dos_toolkit_dir>dostk</dos_toolkit_dir>"
        "<dos_toolkit_version>2.1</dos_toolkit_version><dos_toolkit_installed>No</dos_toolkit_installed>"
        "<winpe_toolkit_dir>winpetk</winpe_toolkit_dir><winpe_toolkit_version>1.3</winpe_toolkit_version>"
        "<winpe_toolkit_installed>No</winpe_toolkit_installed><linux_toolkit_dir>linuxtk</linux_toolkit_dir>"
        "<linux_toolkit_version>3.0</linux_toolkit_version><linux_toolkit_installed>No</"
        "linux_toolkit_installed>"
        "<operating_systems><default_path>os</default_path></operating_systems></stagedesk>");
    Write("kit/dostk/version.ini", "Version = 2.4\n");
}

QString TestKit::Path(const QString& relative) const {
    return QString::fromStdString(dir_.Path().string()) + "/" + relative;
}

void TestKit::Write(const QString& relative, const QString& content) const {
    dir_.Write(relative.toStdString(), content.toStdString());
}

bool TestKit::Exists(const QString& relative) const {
    return QFileInfo::exists(Path(relative));
}

sd_CopyJob TestKit::Job(const QString& itemFile, const QString& media, const QString& destination) const {
    return sd_CopyJob{Home(), itemFile, Path(media), destination, "os", Base(), "dostk"};
}

QString Read(const QString& path) {
    return QString::fromStdString(ReadWholeFile(path.toStdString()));
}

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(long maxBytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    saved_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(maxBytes);
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(saved_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, savedHandler_);
}
#endif
