// Turning a version resource's FileVersion text ("1, 0, 0, 4") into the
// dotted form shown in the caption ("1.0.0.4"). No Windows header.
#pragma once
#include <cstddef>

// Up to four numbers scanned with "%d,%d,%d,%d" (white space allowed before
// each); missing ones are 0. False when the text starts with no number.
bool ScanFileVersion(const char* fileVersion, int numbers[4]);

// Bytes the dotted result of these numbers needs: the FileVersion text's
// length plus 5, or more when the four numbers would not fit in that (a
// text of one number, "7", still gives "7.0.0.0" whole).
std::size_t DottedVersionSize(std::size_t fileVersionLength, const int numbers[4]);

// The dotted form, newly allocated with malloc in DottedVersionSize bytes
// (the caller frees it), or null when there is no number or no memory.
char* DottedVersion(const char* fileVersion);
