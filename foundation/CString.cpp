#include "foundation/CString.h"

#include "foundation/ErrorReport.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

namespace {

std::string_view ViewOf(const char* text) {
    return text ? std::string_view(text) : std::string_view();
}

// Bytes up to the first NUL, at most count: the text is a C string, never read past its end.
size_t BoundedLength(const char* text, size_t count) {
    const void* nul = std::memchr(text, '\0', count);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : count;
}

[[noreturn]] void AllocationFailed() {
    ReportError(kErrorFatal, kMemoryAllocationError, "CString::CreateCharString");
    std::abort(); // not reached: a fatal report ends the process
}

// Position of the n-th (from 1) occurrence of probe, each search resuming after the previous match;
// n == 0 gives the last such occurrence.
size_t NthOccurrence(std::string_view text, std::string_view probe, int n) {
    if (probe.empty() || n < 0) {
        return std::string_view::npos;
    }
    size_t found = std::string_view::npos;
    size_t from = 0;
    for (int seen = 0; n == 0 || seen < n; ++seen) {
        size_t next = text.find(probe, from);
        if (next == std::string_view::npos) {
            return n == 0 ? found : std::string_view::npos;
        }
        found = next;
        from = next + probe.size();
    }
    return found;
}

int ToIndex(size_t position) {
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

std::string_view TrimView(std::string_view text, std::string_view set, bool left, bool right) {
    if (left) {
        size_t first = text.find_first_not_of(set);
        text.remove_prefix(first == std::string_view::npos ? text.size() : first);
    }
    if (right) {
        size_t last = text.find_last_not_of(set);
        text = text.substr(0, last == std::string_view::npos ? 0 : last + 1);
    }
    return text;
}

std::string_view WhiteTrimmed(std::string_view text) {
    return TrimView(text, kWhiteSet, true, true);
}

} // namespace

CString::CString() = default;

CString::CString(const char* text) {
    *this = text;
}

CString::CString(const CString& other) : singleEmptyItem_(other.singleEmptyItem_) {
    Assign(other.Text(), other.Length());
}

CString::CString(CString&& other) noexcept
    : text_(std::move(other.text_)), singleEmptyItem_(other.singleEmptyItem_) {
    text_.resize(std::strlen(text_.c_str())); // a locked source may hold bytes past its text
    other.text_.clear();
    other.lockLength_ = 0;
    other.singleEmptyItem_ = false;
}

CString::CString(char c, int count) {
    if (count <= 0 || c == '\0') {
        return;
    }
    try {
        text_.assign(static_cast<size_t>(count), c);
    } catch (const std::bad_alloc&) {
        AllocationFailed();
    }
}

CString::CString(const char* text, int count) {
    if (text && count > 0) {
        Assign(text, BoundedLength(text, static_cast<size_t>(count)));
    }
}

CString::CString(int value) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%d", value);
    Assign(digits, std::strlen(digits));
}

CString::CString(long value) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%ld", value);
    Assign(digits, std::strlen(digits));
}

CString::CString(const std::string& text) {
    Assign(text.data(), BoundedLength(text.data(), text.size()));
}

CString::~CString() = default;

CString& CString::operator=(const CString& other) {
    if (this == &other || IsLocked()) {
        return *this;
    }
    Assign(other.Text(), other.Length());
    singleEmptyItem_ = other.singleEmptyItem_;
    return *this;
}

CString& CString::operator=(CString&& other) {
    if (this == &other || IsLocked()) {
        return *this;
    }
    if (other.IsLocked()) {
        return *this = static_cast<const CString&>(other);
    }
    text_ = std::move(other.text_);
    singleEmptyItem_ = other.singleEmptyItem_;
    other.text_.clear();
    other.singleEmptyItem_ = false;
    return *this;
}

CString& CString::operator=(const char* text) {
    if (IsLocked()) {
        return *this;
    }
    std::string_view view = ViewOf(text);
    Assign(view.data(), view.size());
    singleEmptyItem_ = false;
    return *this;
}

CString& CString::operator+=(const CString& other) {
    return *this += other.Text();
}

CString& CString::operator+=(const char* text) {
    std::string_view view = ViewOf(text);
    if (IsLocked() || view.empty()) {
        return *this;
    }
    Append(view.data(), view.size());
    singleEmptyItem_ = false; // the list now holds a non-empty text
    return *this;
}

CString& CString::operator+=(char c) {
    if (c == '\0') {
        return *this;
    }
    const char text[2] = {c, '\0'};
    return *this += text;
}

void CString::Clear() {
    if (IsLocked()) {
        return;
    }
    text_.clear();
    singleEmptyItem_ = false;
}

const char* CString::Text() const {
    return text_.c_str();
}

int CString::Length() const {
    // While locked, the caller may have written a shorter text than the buffer holds.
    return static_cast<int>(IsLocked() ? std::strlen(text_.c_str()) : text_.size());
}

char CString::At(int index) const {
    return index >= 0 && index < Length() ? text_[static_cast<size_t>(index)] : '\0';
}

char* CString::LockBuffer(int count) {
    size_t length = static_cast<size_t>(Length());
    if (count <= 0) {
        lockLength_ = 0;
        text_.resize(length);
        return text_.data();
    }
    Resize(length);
    Resize(static_cast<size_t>(count)); // new bytes are NUL, so the text stays terminated
    lockLength_ = count;
    return text_.data();
}

int CString::ToInt() const {
    long value = ToLong();
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

long CString::ToLong() const {
    // strtol reads what atol reads, but saturates instead of overflowing.
    return std::strtol(Text(), nullptr, 10);
}

bool operator==(const CString& a, const CString& b) {
    return std::string_view(a.Text(), a.Length()) == std::string_view(b.Text(), b.Length());
}

bool operator==(const CString& a, const char* b) {
    return std::string_view(a.Text(), a.Length()) == ViewOf(b);
}

bool operator!=(const CString& a, const CString& b) {
    return !(a == b);
}

bool operator!=(const CString& a, const char* b) {
    return !(a == b);
}

int CString::CompareNoCase(const char* other) const {
    const unsigned char* left = reinterpret_cast<const unsigned char*>(Text());
    const unsigned char* right = reinterpret_cast<const unsigned char*>(other ? other : "");
    // Both sides folded to lower case, so '_' sorts before letters.
    for (;; ++left, ++right) {
        int difference = std::tolower(*left) - std::tolower(*right);
        if (difference != 0 || *left == '\0') {
            return difference;
        }
    }
}

int CString::Find(const char* probe) const {
    std::string_view text(Text(), Length());
    std::string_view wanted = ViewOf(probe);
    if (text.empty() || wanted.empty()) {
        return -1;
    }
    return ToIndex(text.find(wanted));
}

int CString::FindOccurrence(const char* probe, int n) const {
    return ToIndex(NthOccurrence(std::string_view(Text(), Length()), ViewOf(probe), n));
}

int CString::CountOccurrences(const char* probe) const {
    std::string_view text(Text(), Length());
    std::string_view wanted = ViewOf(probe);
    if (wanted.empty()) {
        return 0;
    }
    int count = 0;
    for (size_t at = text.find(wanted); at != std::string_view::npos;
         at = text.find(wanted, at + wanted.size())) {
        ++count;
    }
    return count;
}

bool CString::StartsWith(const char* probe) const {
    std::string_view wanted = ViewOf(probe);
    return !wanted.empty() && std::string_view(Text(), Length()).starts_with(wanted);
}

bool CString::EndsWith(const char* probe) const {
    std::string_view wanted = ViewOf(probe);
    return !wanted.empty() && std::string_view(Text(), Length()).ends_with(wanted);
}

CString CString::Left(int count) const {
    if (count < 0 || count >= Length()) {
        return *this;
    }
    return CString(Text(), count);
}

CString CString::Mid(int start, int count) const {
    int length = Length();
    if (start < 0) {
        start = 0;
    }
    if (start >= length) {
        return CString();
    }
    int available = length - start;
    return CString(Text() + start, count > 0 && count < available ? count : available);
}

CString CString::MakeUpper() {
    for (int i = 0; i < Length(); ++i) {
        MakeUpperAt(i);
    }
    return *this;
}

CString CString::MakeLower() {
    for (int i = 0; i < Length(); ++i) {
        MakeLowerAt(i);
    }
    return *this;
}

void CString::MakeUpperAt(int index) {
    if (index >= 0 && index < Length()) {
        char& c = text_[static_cast<size_t>(index)];
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
}

void CString::MakeLowerAt(int index) {
    if (index >= 0 && index < Length()) {
        char& c = text_[static_cast<size_t>(index)];
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
}

CString CString::TrimLeft(const char* set) const {
    std::string_view part = TrimView(std::string_view(Text(), Length()), ViewOf(set), true, false);
    return CString(part.data(), static_cast<int>(part.size()));
}

CString CString::TrimRight(const char* set) const {
    std::string_view part = TrimView(std::string_view(Text(), Length()), ViewOf(set), false, true);
    return CString(part.data(), static_cast<int>(part.size()));
}

CString CString::Trim(const char* set) const {
    std::string_view part = TrimView(std::string_view(Text(), Length()), ViewOf(set), true, true);
    return CString(part.data(), static_cast<int>(part.size()));
}

void CString::AppendItem(const char* item, const char* sep) {
    if (IsLocked()) {
        return;
    }
    std::string_view itemText = ViewOf(item);
    bool wasEmpty = IsEmpty();
    if (!wasEmpty || singleEmptyItem_) {
        std::string_view separator = ViewOf(sep);
        Append(separator.data(), separator.size());
    }
    Append(itemText.data(), itemText.size());
    // The flag marks a list of one empty item, so that the next item still gets its separator.
    singleEmptyItem_ = !singleEmptyItem_ && wasEmpty && itemText.empty();
}

int CString::ItemCount(const char* sep) const {
    if (singleEmptyItem_) {
        return 1;
    }
    if (IsEmpty() || ViewOf(sep).empty()) {
        return 0;
    }
    return CountOccurrences(sep) + 1;
}

CString CString::Item(int index, const char* sep) const {
    std::string_view list = WhiteTrimmed(std::string_view(Text(), Length()));
    std::string_view separator = ViewOf(sep);
    if (list.empty() || index < 0) {
        return CString();
    }
    size_t start = 0;
    if (index > 0) {
        size_t before = NthOccurrence(list, separator, index);
        if (before == std::string_view::npos) {
            return CString();
        }
        start = before + separator.size();
    }
    size_t end = separator.empty() ? std::string_view::npos : list.find(separator, start);
    std::string_view item = list.substr(start, end == std::string_view::npos ? end : end - start);
    return CString(item.data(), static_cast<int>(item.size()));
}

int CString::LocateItem(const char* probe, const char* sep) const {
    std::string_view wanted = ViewOf(probe);
    if (singleEmptyItem_) {
        return wanted.empty() ? 0 : -1;
    }
    std::string_view list = WhiteTrimmed(std::string_view(Text(), Length()));
    std::string_view separator = ViewOf(sep);
    if (list.empty()) {
        return -1;
    }
    for (size_t start = 0;;) {
        size_t end = separator.empty() ? std::string_view::npos : list.find(separator, start);
        std::string_view item = list.substr(start, end == std::string_view::npos ? end : end - start);
        if (item == wanted) {
            return static_cast<int>(start);
        }
        if (end == std::string_view::npos) {
            return -1;
        }
        start = end + separator.size();
    }
}

void CString::Assign(const char* text, size_t count) {
    try {
        text_.assign(text, count);
    } catch (const std::bad_alloc&) {
        AllocationFailed();
    }
}

void CString::Append(const char* text, size_t count) {
    try {
        text_.append(text, count);
    } catch (const std::bad_alloc&) {
        AllocationFailed();
    }
}

void CString::Resize(size_t count) {
    try {
        text_.resize(count);
    } catch (const std::bad_alloc&) {
        AllocationFailed();
    }
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char c) {
    CString result(a);
    result += c;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(char c, const CString& b) {
    CString result(c, 1);
    result += b;
    return result;
}
