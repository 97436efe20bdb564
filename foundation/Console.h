// All console output of the foundation and the console programs: one object, so tests can capture it.
#pragma once

#include <cstdio>
#include <string>

class Console {
public:
    // The process-wide console. Writes go to stdout/stderr unless captured.
    static Console& Instance();

    void Out(const char* text);             // standard output, flushed
    void OutFormat(const char* format, ...) // printf-style, to standard output
        __attribute__((format(printf, 2, 3)));
    void Err(const char* text); // standard error, flushed

    // Reads one character for a question, skipping white space; EOF when the input has ended.
    int ReadAnswerChar();

    // Tests redirect output into strings and input from a string; null restores the real streams.
    // Capture(out, nullptr) captures standard output only.
    void Capture(std::string* out, std::string* err);
    void SetInput(const std::string* input); // read from its start; the string must outlive the use

private:
    int NextInputChar();

    std::string* capturedOut_ = nullptr;
    std::string* capturedErr_ = nullptr;
    const std::string* input_ = nullptr;
    size_t inputPos_ = 0;
};

// Process-wide verbosity (starts at 0) and the leveled print: a line is written, with a newline,
// only when level <= verbosity.
void SetVerbosity(int level);
int Verbosity();
void PrintAtLevel(const char* text, int level);

// Receives every line of the leveled print with its level, whatever the verbosity: a run's log.
class LineRecorder {
public:
    virtual ~LineRecorder() = default;
    virtual void Record(const char* text, int level) = 0;
};
// Null stops the recording. The recorder must outlive its use.
void SetLineRecorder(LineRecorder* recorder);
