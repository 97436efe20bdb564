// CString: the foundation's 8-bit text type, also usable as a list of items joined by a separator.
#pragma once

#include <string>

// The characters that the trim operations, the item lists and the INI document strip by default.
inline constexpr const char* kWhiteSet = " \t\n";

class CString {
public:
    CString();
    CString(const char* text); // a null text gives the empty string
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(char c, int count);           // count <= 0: empty
    CString(const char* text, int count); // the first count bytes; count <= 0: empty
    explicit CString(int value);
    explicit CString(long value);
    explicit CString(const std::string& text);
    ~CString();

    // Assignment, append and clear do nothing while the buffer is locked.
    CString& operator=(const CString& other);
    CString& operator=(CString&& other);
    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char c);
    void Clear();

    const char* Text() const; // never null
    operator const char*() const { return Text(); }
    std::string Str() const { return std::string(Text(), Length()); }
    int Length() const;
    char At(int index) const; // NUL past the end or before the start
    bool IsEmpty() const { return Length() == 0; }

    // count > 0: resizes the buffer to count + 1 bytes (keeping the first min(count, length) characters),
    // locks the string and returns the buffer to fill. count == 0: unlocks and returns the buffer.
    // Required of the string type; no program calls it.
    char* LockBuffer(int count);
    bool IsLocked() const { return lockLength_ != 0; }

    int ToInt() const;   // atoi rules
    long ToLong() const; // atol rules

    friend bool operator==(const CString& a, const CString& b);
    friend bool operator==(const CString& a, const char* b);
    int CompareNoCase(const char* other) const; // stricmp ordering
    bool EqualsNoCase(const char* other) const { return CompareNoCase(other) == 0; }

    int Find(const char* probe) const; // -1 when absent or either text is empty
    // n-th from 1, counted like CountOccurrences (each search resumes after the previous match);
    // n == 0: the last of those; -1 when there are fewer.
    int FindOccurrence(const char* probe, int n) const;
    int CountOccurrences(const char* probe) const; // non-overlapping
    bool StartsWith(const char* probe) const;      // false for an empty or longer probe
    bool EndsWith(const char* probe) const;

    CString Left(int count) const;               // 0: empty; < 0 or >= length: whole
    CString Mid(int start, int count = 0) const; // count 0: to the end
    CString MakeUpper();                         // converts in place and returns a copy
    CString MakeLower();
    void MakeUpperAt(int index);
    void MakeLowerAt(int index);
    CString TrimLeft(const char* set = kWhiteSet) const;
    CString TrimRight(const char* set = kWhiteSet) const;
    CString Trim(const char* set = kWhiteSet) const;

    // Item-list view (items joined by sep).
    void AppendItem(const char* item, const char* sep);
    int ItemCount(const char* sep) const;
    CString Item(int index, const char* sep) const; // of the string trimmed of the white set
    int LocateItem(const char* probe, const char* sep) const;
    bool ContainsItem(const char* probe, const char* sep) const { return LocateItem(probe, sep) >= 0; }
    bool HasSingleEmptyItem() const { return singleEmptyItem_; }

private:
    // The only places that allocate; a failed allocation is a fatal memory error.
    void Assign(const char* text, size_t count);
    void Append(const char* text, size_t count);
    void Resize(size_t count);

    // std::string grows geometrically, so repeated appends stay linear.
    std::string text_;
    int lockLength_ = 0;
    bool singleEmptyItem_ = false;
};

bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const CString& a, char c);
CString operator+(const char* a, const CString& b);
CString operator+(char c, const CString& b);
