// What the link label decides without a window: tooltip wording, fitting, the fallback
// command line and the error texts. Portable so that it is tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// When the label's text is underlined.
enum UnderlineRule : std::int32_t {
    UnderlineWhileHot = -1,
    UnderlineNever = 0,
    UnderlineAlways = 1,
};

// "Go to " / "E-mail " in front of the target without its scheme when descriptive, else the
// target unchanged. Only the five listed spellings of the two schemes count.
std::string ComposeTipText(const char* target, bool descriptiveTip);

// A rectangle in the parent's client coordinates, laid out like a Win32 RECT.
struct LinkRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

inline bool operator==(const LinkRect& a, const LinkRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The static styles the fitting looks at.
constexpr std::uint32_t LinkStyleCenter = 0x0001;       // SS_CENTER
constexpr std::uint32_t LinkStyleRight = 0x0002;        // SS_RIGHT
constexpr std::uint32_t LinkStyleCenterImage = 0x0200;  // SS_CENTERIMAGE

// The window rectangle that makes the client area exactly textWidth x textHeight, keeping the
// non-client parts and anchoring the edge the alignment style asks for. Centring halves the
// surplus truncating toward zero, so an odd surplus leaves one pixel over (or short).
LinkRect FitRectToText(const LinkRect& window, const LinkRect& client, std::int32_t textWidth,
                       std::int32_t textHeight, std::uint32_t style);

// The one-opening command-line buffer and the registry value buffer.
constexpr std::size_t CommandLineSize = 520;
constexpr std::size_t RegValueSize = 260;

// Ends a registered open command at its placeholder: at the opening quote of the first "\"%1\"",
// else at the first "%1"; a command without either stays whole.
void CutAtPlaceholder(char* command);

// Appends text to the terminated string in buffer (size bytes in all) only if the whole of it
// fits with the terminator; false and buffer unchanged otherwise.
bool AppendBounded(char* buffer, std::size_t size, const char* text);

// The command line run instead of the shell: the registered command up to its placeholder,
// one blank and the target. False, with nothing written past the buffer, when it does not fit.
bool AssembleCommandLine(char* buffer, std::size_t size, const char* target);

// Shell and WinExec codes: above 32 is success, read as a signed number.
inline bool IsOpenSuccess(std::uint32_t code)
{
    return static_cast<std::int32_t>(code) > 32;
}

// The table text for a failed opening's code; unlisted codes, negative ones included, give
// "Unknown Error (<code>) occurred.".
std::string OpenErrorText(std::int32_t code);

// The whole text of the failure box.
std::string OpenErrorMessage(std::int32_t code);
