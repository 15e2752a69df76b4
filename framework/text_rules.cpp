#include "text_rules.h"

#include <cstring>

namespace {

// Index where the file name starts: after the last "\\", "/" or ":".
std::size_t FileNameStart(const std::string& path) {
    std::size_t at = path.find_last_of("\\/:");
    return at == std::string::npos ? 0 : at + 1;
}

// Index of the file name's extension dot, or npos.
std::size_t ExtensionDot(const std::string& path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < FileNameStart(path)) return std::string::npos;
    return dot;
}

}  // namespace

std::string AppTitleFromPath(const char* path) {
    std::string p(path ? path : "");
    std::size_t start = FileNameStart(p);
    std::size_t dot = ExtensionDot(p);
    return p.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}

std::string HelpPathFromPath(const char* path) {
    std::string p(path ? path : "");
    std::size_t dot = ExtensionDot(p);
    if (dot != std::string::npos) p.erase(dot);
    return p + ".HLP";
}

std::string FileDialogFilter(const char* filter) {
    if (!filter || !*filter) return std::string();
    std::string out(filter);
    for (char& c : out) {
        if (c == '|') c = '\0';
    }
    // The system reads pairs until an empty string: make sure it ends in two NULs.
    while (out.size() < 2 || out[out.size() - 1] != '\0' || out[out.size() - 2] != '\0') out.push_back('\0');
    return out;
}
