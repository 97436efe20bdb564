#include "foundation/ErrorReport.h"

#include "foundation/Console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The message is built in a fixed 512-byte buffer. Text that would not fit is cut off: nothing is ever
// written past the buffer, and the message always stays terminated.
class MessageBuffer {
public:
    void Append(const char* text) {
        size_t room = sizeof data_ - 1 - used_;
        size_t length = std::strlen(text);
        size_t taken = length < room ? length : room;
        std::memcpy(data_ + used_, text, taken);
        used_ += taken;
        data_[used_] = '\0';
    }
    std::string Text() const { return std::string(data_, used_); }

private:
    char data_[512] = {};
    size_t used_ = 0;
};

struct MessageBlock {
    const char* title;
    const char* body;
};

// Indexed by code: title line, then body lines (code 9's body is split around the detail).
const MessageBlock kBlocks[] = {
    {"", ""},
    {"General System Error\n\n", ""},
    {"General Program Error\n\n", ""},
    {"", ""},
    {"Memory Allocation Error\n\n", "Not enough memory is available for this application.\n\n"
                                    "Please close some programs to free up memory and try running\n"
                                    "this application again.\n\n"},
    {"File Open Error\n\n", "Unable to open file...\n\n"},
    {"File Read Error\n\n", "Unable to read from file...\n\n"},
    {"File Write Error\n\n", "Unable to write to file...\n\n"},
    {"File Close Error\n\n", "Unable to close file...\n\n"},
    {"Parse Error\n\n", "Unable to parse data file...\n\n"},
    {"TCP/IP Error\n\n", ""},
};

const char* const kParseAdvice = "The data file may not be in the correct format or it may be corrupt.\n\n";

void AskToContinue() {
    Console& console = Console::Instance();
    console.Err("\nContinue anyway? ");
    int answer = console.ReadAnswerChar();
    if (answer != EOF) {
        console.ReadAnswerChar(); // the answer is read as two characters; only the first decides
    }
    if (answer != 'y' && answer != 'Y') {
        std::exit(1);
    }
}

} // namespace

std::string ComposeErrorMessage(int code, const char* detail) {
    const char* detailText = detail ? detail : "";
    MessageBuffer message;
    message.Append("\n");
    if (code < kGeneralSystemError || code > kTcpIpError) {
        return message.Text();
    }
    message.Append(kBlocks[code].title);
    message.Append(kBlocks[code].body);
    if (code != kParseError) {
        message.Append(detailText);
        return message.Text();
    }
    if (*detailText != '\0') {
        message.Append(detailText);
        message.Append("\n\n");
    }
    message.Append(kParseAdvice);
    return message.Text();
}

void ReportError(int mode, int code, const char* detail) {
    std::string printed("\n");
    printed += ComposeErrorMessage(code, detail);
    printed += '\n';
    Console::Instance().Err(printed.c_str());
    if (mode == kErrorFatal) {
        std::exit(1);
    }
    if (mode == kErrorAsk) {
        AskToContinue();
    }
}
