#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "../../../controls/link_logic.h"

namespace {

TEST(ComposeTipText, DescriptiveWordsOnlyTheFiveSpellings)
{
    const struct {
        const char* target;
        const char* tip;
    } cases[] = {
        {"http://kelvara.example/releases", "Go to kelvara.example/releases"},
        {"HTTP://KELVARA.EXAMPLE", "Go to KELVARA.EXAMPLE"},
        {"mailto:team@kelvara.example", "E-mail team@kelvara.example"},
        {"MailTo:team@kelvara.example", "E-mail team@kelvara.example"},
        {"MAILTO:team@kelvara.example", "E-mail team@kelvara.example"},
        {"http://", "Go to "},
        {"mailto:", "E-mail "},
        {"", ""},
        // Any other mix of capitals, any other scheme, a prefix not at the start: unchanged.
        {"Http://kelvara.example", "Http://kelvara.example"},
        {"hTTP://kelvara.example", "hTTP://kelvara.example"},
        {"Mailto:team@kelvara.example", "Mailto:team@kelvara.example"},
        {"mailTo:team@kelvara.example", "mailTo:team@kelvara.example"},
        {"MAILto:team@kelvara.example", "MAILto:team@kelvara.example"},
        {"https://kelvara.example", "https://kelvara.example"},
        {"ftp://kelvara.example", "ftp://kelvara.example"},
        {"news:kelvara", "news:kelvara"},
        {" http://kelvara.example", " http://kelvara.example"},
        {"see http://kelvara.example", "see http://kelvara.example"},
        {"http:/kelvara.example", "http:/kelvara.example"},
        {"http:", "http:"},
        {"mailto", "mailto"},
        {"kelvara.example/releases", "kelvara.example/releases"},
        // Only the first seven characters go.
        {"http://http://x", "Go to http://x"},
        {"mailto:http://x", "E-mail http://x"},
        // Bytes above 0x7F pass through untouched.
        {"http://k\xe9lvara.example/\x82\xa0", "Go to k\xe9lvara.example/\x82\xa0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeTipText(c.target, true), c.tip) << '"' << c.target << '"';
}

TEST(ComposeTipText, PlainShowsTheTargetUnchanged)
{
    for (const char* target : {"http://kelvara.example", "HTTP://X", "mailto:team@kelvara.example",
                               "MAILTO:a", "http://", "", "kelvara"})
        EXPECT_EQ(ComposeTipText(target, false), target);
    EXPECT_EQ(ComposeTipText(nullptr, true), "");
}

// A 100 x 20 window with a 2-pixel border all round in the parent at (10, 20).
constexpr LinkRect bordered{10, 20, 110, 40};
constexpr LinkRect borderedClient{0, 0, 96, 16};

TEST(FitRectToText, AnchorsByAlignmentAndKeepsTheBorder)
{
    // Text 50 x 13: the window must become 54 x 17.
    const struct {
        const char* name;
        std::uint32_t style;
        LinkRect fitted;
    } cases[] = {
        {"left", 0x0, {10, 20, 64, 37}},
        {"left, other bits ignored", 0x50000100, {10, 20, 64, 37}},
        {"right", LinkStyleRight, {56, 20, 110, 37}},
        {"centred (surplus 46)", LinkStyleCenter, {33, 20, 87, 37}},
        {"centre and right bits: centred", LinkStyleCenter | LinkStyleRight, {33, 20, 87, 37}},
        {"SS_SIMPLE-like 0xB: centred", 0xB, {33, 20, 87, 37}},
        // Height surplus 3: each edge moves in by 1, one pixel over.
        {"centre image, left", LinkStyleCenterImage, {10, 21, 64, 39}},
        {"centre image, right", LinkStyleCenterImage | LinkStyleRight, {56, 21, 110, 39}},
        {"centre image, centred", LinkStyleCenterImage | LinkStyleCenter, {33, 21, 87, 39}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitRectToText(bordered, borderedClient, 50, 13, c.style), c.fitted) << c.name;
}

TEST(FitRectToText, OddSurplusAndDeficitOfSevenRoundTowardZero)
{
    const struct {
        const char* name;
        LinkRect window;
        LinkRect client;
        std::uint32_t style;
        LinkRect fitted;
    } cases[] = {
        // Borderless; text 50 x 13. Centring 7 over ends 1 wider, 7 short ends 1 narrower.
        {"centred, 7 wider", {10, 20, 67, 33}, {0, 0, 57, 13}, LinkStyleCenter, {13, 20, 64, 33}},
        {"centred, 7 narrower", {10, 20, 53, 33}, {0, 0, 43, 13}, LinkStyleCenter, {7, 20, 56, 33}},
        {"centre image, 7 taller", {10, 20, 60, 40}, {0, 0, 50, 20}, LinkStyleCenterImage,
         {10, 23, 60, 37}},
        {"centre image, 7 shorter", {10, 20, 60, 26}, {0, 0, 50, 6}, LinkStyleCenterImage,
         {10, 17, 60, 29}},
        {"left, grows right and down", {10, 20, 30, 25}, {0, 0, 20, 5}, 0, {10, 20, 60, 33}},
        {"right, grows left", {10, 20, 30, 25}, {0, 0, 20, 5}, LinkStyleRight, {-20, 20, 30, 33}},
        {"exact already", {10, 20, 60, 33}, {0, 0, 50, 13}, LinkStyleCenter | LinkStyleCenterImage,
         {10, 20, 60, 33}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitRectToText(c.window, c.client, 50, 13, c.style), c.fitted) << c.name;
}

// An exact-size heap buffer, so the sanitizers see any byte written past it.
std::unique_ptr<char[]> Buffer(const std::string& text, std::size_t size = CommandLineSize)
{
    std::unique_ptr<char[]> buffer(new char[size]);
    std::memset(buffer.get(), 'Z', size);
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
    return buffer;
}

TEST(AssembleCommandLine, CutsAtThePlaceholderAndAppendsBlankAndTarget)
{
    const char* target = "http://kelvara.example";
    const struct {
        const char* command;
        const char* line;
    } cases[] = {
        {"\"C:\\Browser\\b.exe\" -nohome \"%1\"", "\"C:\\Browser\\b.exe\" -nohome  http://kelvara.example"},
        {"C:\\Browser\\b.exe %1 -new-window", "C:\\Browser\\b.exe  http://kelvara.example"},
        {"C:\\Browser\\b.exe -url", "C:\\Browser\\b.exe -url http://kelvara.example"},
        {"C:\\Browser\\b.exe", "C:\\Browser\\b.exe http://kelvara.example"},
        // The quoted placeholder is looked for first, even after a bare one.
        {"b.exe %1 \"%1\"", "b.exe %1  http://kelvara.example"},
        {"b.exe \"%1\" %1", "b.exe  http://kelvara.example"},
        {"b.exe \"%1", "b.exe \" http://kelvara.example"},
        {"b.exe %10", "b.exe  http://kelvara.example"},
        {"b.exe %2", "b.exe %2 http://kelvara.example"},
        {"\"%1\"", " http://kelvara.example"},
        {"", " http://kelvara.example"},
        // A double-byte path: no trail byte is ever '%' or '"', so the cut lands on the quote.
        {"\"C:\\\x83\x75\x83\x89\\b.exe\" \"%1\"", "\"C:\\\x83\x75\x83\x89\\b.exe\"  http://kelvara.example"},
    };
    for (const auto& c : cases) {
        auto buffer = Buffer(c.command);
        ASSERT_TRUE(AssembleCommandLine(buffer.get(), CommandLineSize, target)) << c.command;
        EXPECT_STREQ(buffer.get(), c.line) << c.command;
    }
}

TEST(AssembleCommandLine, ALineThatDoesNotFitIsRefusedInsideTheBuffer)
{
    const std::string command(259, 'c');
    // 259 + blank + 259 + terminator is exactly 520.
    {
        auto buffer = Buffer(command);
        const std::string target(259, 't');
        ASSERT_TRUE(AssembleCommandLine(buffer.get(), CommandLineSize, target.c_str()));
        EXPECT_EQ(std::string(buffer.get()), command + " " + target);
    }
    for (std::size_t length : {260u, 261u, 600u, 5000u}) {
        auto buffer = Buffer(command);
        const std::string target(length, 't');
        EXPECT_FALSE(AssembleCommandLine(buffer.get(), CommandLineSize, target.c_str())) << length;
        EXPECT_EQ(std::string(buffer.get()), command) << "no blank without its target";
    }
    // Even a buffer holding no terminator at all is never read or written past.
    auto unterminated = Buffer("");
    std::memset(unterminated.get(), 'c', CommandLineSize);
    EXPECT_FALSE(AssembleCommandLine(unterminated.get(), CommandLineSize, "t"));
}

TEST(AppendBounded, AppendsWholeOrNotAtAll)
{
    auto buffer = Buffer("abc", 8);
    EXPECT_TRUE(AppendBounded(buffer.get(), 8, "defg"));   // 7 characters and the terminator
    EXPECT_STREQ(buffer.get(), "abcdefg");
    EXPECT_FALSE(AppendBounded(buffer.get(), 8, "h"));
    EXPECT_STREQ(buffer.get(), "abcdefg");
    EXPECT_TRUE(AppendBounded(buffer.get(), 8, ""));
    auto full = Buffer("", 4);
    std::memset(full.get(), 'x', 4);
    EXPECT_FALSE(AppendBounded(full.get(), 4, ""));
}

TEST(OpenErrorText, ListedCodesAndUnknownOnes)
{
    const struct {
        std::int32_t code;
        const char* text;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {4, "Unknown Error (4) occurred."},
        {33, "Unknown Error (33) occurred."},
        {42, "Unknown Error (42) occurred."},
        {-1, "Unknown Error (-1) occurred."},
        {INT32_MIN, "Unknown Error (-2147483648) occurred."},
        {INT32_MAX, "Unknown Error (2147483647) occurred."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenErrorText(c.code), c.text) << c.code;
}

TEST(OpenErrorMessage, HeadingEmptyLineThenTheText)
{
    EXPECT_EQ(OpenErrorMessage(31), "Unable to open hyperlink:\n\nThere is no application associated\n"
                                    "with the given filename extension.");
    EXPECT_EQ(OpenErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(OpenErrorMessage(-5), "Unable to open hyperlink:\n\nUnknown Error (-5) occurred.");
}

TEST(IsOpenSuccess, AboveThirtyTwoReadAsSigned)
{
    EXPECT_TRUE(IsOpenSuccess(33));
    EXPECT_TRUE(IsOpenSuccess(42));
    EXPECT_TRUE(IsOpenSuccess(0x7FFFFFFF));
    EXPECT_FALSE(IsOpenSuccess(32));
    EXPECT_FALSE(IsOpenSuccess(0));
    EXPECT_FALSE(IsOpenSuccess(0xFFFFFFFF));
    EXPECT_FALSE(IsOpenSuccess(0x80000000));
}

}  // namespace
