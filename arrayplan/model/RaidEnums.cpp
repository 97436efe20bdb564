#include "arrayplan/model/RaidEnums.h"

#include "arrayplan/model/RaidLevels.h"
#include "foundation/TextCase.h"

#include <cctype>
#include <cstddef>
#include <iterator>
#include <string>

namespace {

const char* const kStripeTexts[] = {"8", "16", "32", "64", "128", "256", "512", "1024", "2048", "4096"};
const char* const kReadAheadTexts[] = {"ADAPTIVE", "ON", "OFF"};
const char* const kRebuildRateTexts[] = {"HIGH", "MED", "LOW"};
const char* const kWriteCacheTexts[] = {"OFF", "ON", "AUTO"};

std::string trimmed(const std::string& text, const char* set) {
    size_t first = text.find_first_not_of(set);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(set);
    return text.substr(first, last - first + 1);
}

template <size_t N> const char* textAt(const char* const (&texts)[N], int code) {
    if (code < 0 || static_cast<size_t>(code) >= N)
        return "";
    return texts[code];
}

template <size_t N> int codeOf(const char* const (&texts)[N], const std::string& text) {
    for (size_t i = 0; i < N; ++i) {
        if (texts[i][0] != '\0' && EqualsNoCase(text, texts[i]))
            return static_cast<int>(i);
    }
    return -1;
}

std::string textOrEmpty(const char* text) {
    return text ? std::string(text) : std::string();
}

} // namespace

int raidLevelFromText(const char* text) {
    std::string level = trimmed(trimmed(textOrEmpty(text), " \t\n"), "Rr");
    for (int code = 0; const RaidLevelFacts* facts = raidLevelFacts(code); ++code) {
        if (facts->text[0] != '\0' && EqualsNoCase(level, facts->text))
            return code;
    }
    return -1;
}

const char* raidLevelText(int level) {
    const RaidLevelFacts* facts = raidLevelFacts(level);
    return facts == nullptr || level == kRaidSpanned ? "" : facts->text;
}

int stripeSizeFromText(const char* text) {
    return codeOf(kStripeTexts, textOrEmpty(text));
}
const char* stripeSizeText(int code) {
    return textAt(kStripeTexts, code);
}

int readAheadFromText(const char* text) {
    return codeOf(kReadAheadTexts, textOrEmpty(text));
}
const char* readAheadText(int code) {
    return textAt(kReadAheadTexts, code);
}
int rebuildRateFromText(const char* text) {
    return codeOf(kRebuildRateTexts, textOrEmpty(text));
}
const char* rebuildRateText(int code) {
    return textAt(kRebuildRateTexts, code);
}
int writeCacheFromText(const char* text) {
    return codeOf(kWriteCacheTexts, textOrEmpty(text));
}
const char* writeCacheText(int code) {
    return textAt(kWriteCacheTexts, code);
}
