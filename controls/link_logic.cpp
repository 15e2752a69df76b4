#include "link_logic.h"

#include <cstdio>
#include <cstring>

namespace {

// A prefix counts when its first occurrence lies at the start of the text. A match at offset 0
// can never begin inside a double-byte character, so a plain comparison of the first bytes
// answers the same as a multibyte-aware search would.
bool BeginsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The length of the text in buffer, or size when no terminator lies within it.
std::size_t BoundedLength(const char* buffer, std::size_t size)
{
    const void* end = std::memchr(buffer, '\0', size);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : size;
}

}  // namespace

std::string ComposeTipText(const char* target, bool descriptiveTip)
{
    const char* text = target ? target : "";
    // Both schemes are 7 characters long.
    if (descriptiveTip && (BeginsWith(text, "http://") || BeginsWith(text, "HTTP://")))
        return std::string("Go to ") + (text + 7);
    if (descriptiveTip &&
        (BeginsWith(text, "mailto:") || BeginsWith(text, "MailTo:") || BeginsWith(text, "MAILTO:")))
        return std::string("E-mail ") + (text + 7);
    return text;
}

LinkRect FitRectToText(const LinkRect& window, const LinkRect& client, std::int32_t textWidth,
                       std::int32_t textHeight, std::uint32_t style)
{
    // Whatever the window has beyond its client area (border, edges) stays as it is.
    const std::int32_t width =
        textWidth + (window.right - window.left) - (client.right - client.left);
    const std::int32_t height =
        textHeight + (window.bottom - window.top) - (client.bottom - client.top);

    LinkRect fitted = window;
    if (style & LinkStyleCenterImage) {
        const std::int32_t h = (window.bottom - window.top - height) / 2;
        fitted.top += h;
        fitted.bottom -= h;
    } else {
        fitted.bottom = window.top + height;
    }

    if (style & LinkStyleCenter) {
        const std::int32_t w = (window.right - window.left - width) / 2;
        fitted.left += w;
        fitted.right -= w;
    } else if (style & LinkStyleRight) {
        fitted.left = window.right - width;
    } else {
        fitted.right = window.left + width;
    }
    return fitted;
}

void CutAtPlaceholder(char* command)
{
    // Byte searches suffice: '"', '%' and '1' lie below 0x40, and no lead byte of a Windows
    // double-byte code page is ever followed by a trail byte that low, so every match found
    // here starts a character of its own, just as a multibyte-aware search would find it.
    if (char* quoted = std::strstr(command, "\"%1\"")) {
        *quoted = '\0';
        return;
    }
    if (char* bare = std::strstr(command, "%1"))
        *bare = '\0';
}

bool AppendBounded(char* buffer, std::size_t size, const char* text)
{
    const std::size_t used = BoundedLength(buffer, size);
    const std::size_t extra = std::strlen(text);
    if (used >= size || extra >= size - used)
        return false;
    std::memcpy(buffer + used, text, extra + 1);
    return true;
}

bool AssembleCommandLine(char* buffer, std::size_t size, const char* target)
{
    if (BoundedLength(buffer, size) >= size)
        return false;
    CutAtPlaceholder(buffer);
    const std::size_t used = BoundedLength(buffer, size);
    const std::size_t extra = 1 + std::strlen(target);
    // Blank and target go in together or not at all.
    if (extra >= size - used)
        return false;
    return AppendBounded(buffer, size, " ") && AppendBounded(buffer, size, target);
}

std::string OpenErrorText(std::int32_t code)
{
    switch (code) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied\naccess to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case 11:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred. ";
    case 27:
        return "The filename association is\nincomplete or invalid.";
    case 28:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE transactions\n"
               "were being processed.";
    case 31:
        return "There is no application associated\nwith the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default:
        break;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown Error (%d) occurred.", static_cast<int>(code));
    return text;
}

std::string OpenErrorMessage(std::int32_t code)
{
    return "Unable to open hyperlink:\n\n" + OpenErrorText(code);
}
