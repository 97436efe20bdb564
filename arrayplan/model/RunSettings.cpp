#include "arrayplan/model/RunSettings.h"

#include "foundation/Console.h"
#include "foundation/platform/FileSystem.h"

RunSettings::RunSettings() : console_(&Console::Instance()), fileSystem_(nullptr) {}

RunSettings::RunSettings(Console& console, FileSystem& fileSystem)
    : console_(&console), fileSystem_(&fileSystem) {}

FileSystem& RunSettings::fileSystem() const {
    return fileSystem_ != nullptr ? *fileSystem_ : CurrentFileSystem();
}

void RunSettings::printLeveled(const char* text, int level) const {
    if (level <= messageLevel)
        console_->OutFormat("%s", text);
}

void RunSettings::reportError(const char* message) const {
    console_->Out("\n");
    console_->Out("#### ERROR\n");
    console_->OutFormat("\t%s", message);
}

void RunSettings::debugTrace(int tracePoint, const char* text) const {
    if (debug)
        console_->OutFormat("%d:%s\n", tracePoint, text);
}

void RunSettings::printPlain(const char* text) const {
    console_->OutFormat("%s", text);
}

void RunSettings::printErrorForm(const char* message) const {
    console_->Out("##ERROR\n");
    console_->OutFormat("   %s", message);
}
