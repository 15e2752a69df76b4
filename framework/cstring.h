// CString: the framework's 8-bit text. No Windows header, so window-free code can use it too.
#pragma once
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text);                // null gives an empty string
    CString(const char* text, int length);    // the first length bytes (fewer if text ends sooner)
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);

    operator const char*() const { return text.c_str(); }
    const char* GetString() const { return text.c_str(); }
    int GetLength() const { return static_cast<int>(text.size()); }
    bool IsEmpty() const { return text.empty(); }
    void Empty() { text.clear(); }
    char GetAt(int index) const { return text[static_cast<std::size_t>(index)]; }

    CString& operator+=(const char* tail);
    CString& operator+=(const CString& tail);
    CString& operator+=(char c);

    // Out-of-range positions and counts are clipped, never an error.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // Byte index of the first occurrence at or after start, or -1.
    int Find(const char* sub, int start = 0) const;
    int Find(char c, int start = 0) const;
    int ReverseFind(char c) const;
    int Compare(const char* other) const;   // <0, 0, >0 like strcmp

    // A writable buffer of at least minLength bytes plus the terminator, for
    // Win32 calls that fill text in place; ReleaseBuffer(-1) takes the length
    // from the terminator.
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    void Format(const char* format, ...);

private:
    std::string text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
