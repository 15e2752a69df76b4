#include "cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

CString::CString(const char* source) : text(source ? source : "") {}

CString::CString(const char* source, int length) {
    if (source && length > 0) {
        const void* end = std::memchr(source, '\0', static_cast<std::size_t>(length));
        std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - source)
                            : static_cast<std::size_t>(length);
        text.assign(source, n);
    }
}

CString& CString::operator=(const char* source) {
    // source may point into this string's own text
    text = std::string(source ? source : "");
    return *this;
}

CString& CString::operator+=(const char* tail) {
    if (tail) text += std::string(tail);
    return *this;
}

CString& CString::operator+=(const CString& tail) {
    text += tail.text;
    return *this;
}

CString& CString::operator+=(char c) {
    text += c;
    return *this;
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count < 0 || first >= GetLength()) return CString();
    CString result;
    result.text = text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
    return result;
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return Mid(GetLength() - count);
}

int CString::Find(const char* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    std::size_t at = text.find(sub, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char c, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    std::size_t at = text.find(c, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char c) const {
    std::size_t at = text.rfind(c);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Compare(const char* other) const { return std::strcmp(text.c_str(), other ? other : ""); }

char* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) text.resize(static_cast<std::size_t>(minLength));
    return &text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0 || newLength > GetLength()) newLength = static_cast<int>(std::strlen(text.c_str()));
    text.resize(static_cast<std::size_t>(newLength));
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int needed = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed < 0) {
        text.clear();
    } else {
        std::string out(static_cast<std::size_t>(needed) + 1, '\0');
        std::vsnprintf(&out[0], out.size(), format, args);
        out.resize(static_cast<std::size_t>(needed));
        text.swap(out);
    }
    va_end(args);
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
