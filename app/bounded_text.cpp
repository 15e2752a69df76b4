#include "bounded_text.h"

#include <cstdio>
#include <cstring>

int FormatBounded(char* destination, unsigned size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = FormatBoundedV(destination, size, format, args);
    va_end(args);
    return written;
}

int FormatBoundedV(char* destination, unsigned size, const char* format, va_list args) {
    if (size == 0) return 0;
    int needed = std::vsnprintf(destination, size, format, args);
    if (needed < 0) {
        // An encoding error: keep whatever came out, terminated.
        destination[size - 1] = '\0';
        return static_cast<int>(std::strlen(destination));
    }
    if (static_cast<unsigned>(needed) < size) return needed;
    destination[size - 1] = '\0';
    return static_cast<int>(size - 1);
}

int CopyBounded(char* destination, const char* source, int size) {
    if (size <= 0) return 0;
    int copied = 0;
    while (copied < size - 1 && source[copied] != '\0') {
        destination[copied] = source[copied];
        ++copied;
    }
    destination[copied] = '\0';
    return copied;
}
