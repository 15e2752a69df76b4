// Bounded text helpers: the destination is always terminated and never overrun.
#pragma once
#include <cstdarg>

// Formats into destination (size bytes). Returns the characters written,
// terminator not counted: the whole text when it fits, else size - 1 with
// the text cut there. Size 0 writes nothing and returns 0.
#if defined(__GNUC__)
__attribute__((format(printf, 3, 4)))
#endif
int FormatBounded(char* destination, unsigned size, const char* format, ...);
#if defined(__GNUC__)
__attribute__((format(printf, 3, 0)))
#endif
int FormatBoundedV(char* destination, unsigned size, const char* format, va_list args);

// Copies source into destination (size bytes) up to its terminator or
// size - 1 characters, then terminates. Returns the characters copied.
// Size 0 or less writes nothing and returns 0.
int CopyBounded(char* destination, const char* source, int size);
