// Captures everything written through the Console for the lifetime of the object, and optionally feeds
// the answers to its questions from a string. The real streams are restored at the end.
#pragma once

#include "foundation/Console.h"

#include <string>

class ConsoleCapture {
public:
    ConsoleCapture() { Console::Instance().Capture(&out_, &err_); }
    explicit ConsoleCapture(const std::string& input) : ConsoleCapture() { SetInput(input); }
    ~ConsoleCapture() {
        Console::Instance().Capture(nullptr, nullptr);
        Console::Instance().SetInput(nullptr);
    }
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    // Answers read by the console's questions, from the start of input; its end reads as end of input.
    void SetInput(const std::string& input) {
        input_ = input;
        Console::Instance().SetInput(&input_);
    }

    const std::string& Out() const { return out_; }
    const std::string& Err() const { return err_; }
    void Clear() {
        out_.clear();
        err_.clear();
    }

private:
    std::string out_;
    std::string err_;
    std::string input_;
};
