#include "foundation/Console.h"

#include "foundation/TextFormat.h"

#include <cctype>
#include <cstdarg>

namespace {

int verbosity = 0;
LineRecorder* lineRecorder = nullptr;

void Write(std::string* captured, FILE* stream, const char* text) {
    if (captured) {
        captured->append(text);
        return;
    }
    std::fputs(text, stream);
    std::fflush(stream);
}

} // namespace

Console& Console::Instance() {
    static Console console;
    return console;
}

void Console::Out(const char* text) {
    Write(capturedOut_, stdout, text ? text : "");
}

void Console::OutFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text;
    if (FormatTextInto(text, format, args) && !text.empty())
        Out(text.c_str());
    va_end(args);
}

void Console::Err(const char* text) {
    Write(capturedErr_, stderr, text ? text : "");
}

int Console::ReadAnswerChar() {
    for (;;) {
        int c = NextInputChar();
        if (c == EOF || !std::isspace(c)) {
            return c;
        }
    }
}

int Console::NextInputChar() {
    if (!input_) {
        return std::getchar();
    }
    if (inputPos_ >= input_->size()) {
        return EOF;
    }
    return static_cast<unsigned char>((*input_)[inputPos_++]);
}

void Console::Capture(std::string* out, std::string* err) {
    capturedOut_ = out;
    capturedErr_ = err;
}

void Console::SetInput(const std::string* input) {
    input_ = input;
    inputPos_ = 0;
}

void SetVerbosity(int level) {
    verbosity = level;
}

int Verbosity() {
    return verbosity;
}

void SetLineRecorder(LineRecorder* recorder) {
    lineRecorder = recorder;
}

void PrintAtLevel(const char* text, int level) {
    if (lineRecorder) {
        lineRecorder->Record(text ? text : "", level);
    }
    if (level > verbosity) {
        return;
    }
    Console& console = Console::Instance();
    std::string line(text ? text : "");
    line += '\n';
    console.Out(line.c_str());
}
