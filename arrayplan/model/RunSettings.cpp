#include "arrayplan/model/RunSettings.h"

#include "foundation/Console.h"

void RunSettings::printLeveled(const char* text, int level) const {
    if (level <= messageLevel)
        Console::Instance().OutFormat("%s", text);
}

void RunSettings::reportError(const char* message) const {
    Console& console = Console::Instance();
    console.Out("\n");
    console.Out("#### ERROR\n");
    console.OutFormat("\t%s", message);
}

void RunSettings::debugTrace(int tracePoint, const char* text) const {
    if (debug)
        Console::Instance().OutFormat("%d:%s\n", tracePoint, text);
}

void RunSettings::printPlain(const char* text) {
    Console::Instance().OutFormat("%s", text);
}

void RunSettings::printErrorForm(const char* message) {
    Console& console = Console::Instance();
    console.Out("##ERROR\n");
    console.OutFormat("   %s", message);
}
