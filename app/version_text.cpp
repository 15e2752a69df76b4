#include "version_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bounded_text.h"

bool ScanFileVersion(const char* fileVersion, int numbers[4]) {
    numbers[0] = numbers[1] = numbers[2] = numbers[3] = 0;
    if (!fileVersion) return false;
    int converted = std::sscanf(fileVersion, "%d,%d,%d,%d", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
    return converted >= 1;
}

std::size_t DottedVersionSize(std::size_t fileVersionLength, const int numbers[4]) {
    int needed = std::snprintf(nullptr, 0, "%d.%d.%d.%d", numbers[0], numbers[1], numbers[2], numbers[3]);
    std::size_t fits = needed > 0 ? static_cast<std::size_t>(needed) + 1 : 1;
    std::size_t usual = fileVersionLength + 5;
    return usual > fits ? usual : fits;
}

char* DottedVersion(const char* fileVersion) {
    int numbers[4];
    if (!ScanFileVersion(fileVersion, numbers)) return nullptr;
    std::size_t size = DottedVersionSize(std::strlen(fileVersion), numbers);
    char* result = static_cast<char*>(std::malloc(size));
    if (!result) return nullptr;
    FormatBounded(result, static_cast<unsigned>(size), "%d.%d.%d.%d", numbers[0], numbers[1], numbers[2], numbers[3]);
    return result;
}
