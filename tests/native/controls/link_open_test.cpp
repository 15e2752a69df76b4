#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../../../controls/link_logic.h"
#include "../../../controls/link_open.h"
#include "../../../controls/testing/recording_link_platform.h"

namespace {

using Calls = std::vector<std::string>;

// The output buffer at exactly its least size, prefilled so an untouched one is recognisable.
struct Output {
    std::unique_ptr<char[]> bytes{new char[RegValueSize]};
    Output() { std::memset(bytes.get(), 'Z', RegValueSize); }
    bool Untouched() const
    {
        for (std::size_t i = 0; i < RegValueSize; ++i)
            if (bytes[i] != 'Z')
                return false;
        return true;
    }
};

TEST(ReadRegDefault, CopiesTheTextAndClosesTheKey)
{
    RecordingLinkPlatform platform;
    platform.SetDefault(".htm", "htmlfile");
    Output out;
    EXPECT_EQ(ReadRegDefault(platform, ClassesRootKey, ".htm", out.bytes.get()), 0);
    EXPECT_STREQ(out.bytes.get(), "htmlfile");
    EXPECT_EQ(platform.calls, (Calls{"RegOpenKeyExA(HKCR, \".htm\")",
                                     "RegQueryValueExA(\".htm\", 260)", "RegCloseKey(\".htm\")"}));
    EXPECT_EQ(platform.OpenKeyCount(), 0);
}

TEST(ReadRegDefault, MissingNonTextOrOverLongIsAnErrorWithOutputUntouched)
{
    const std::string longest(259, 'v');
    const struct {
        const char* name;
        RecordingLinkPlatform::RegValue value;  // type 0 here: the key has no default value
        bool opens;
        std::int32_t result;
    } cases[] = {
        {"no key", {}, false, RegFileNotFound},
        {"no default value", {0, ""}, true, RegFileNotFound},
        {"DWORD", {4, std::string("\x01\x00\x00\x00", 4)}, true, RegInvalidData},
        {"expandable text", {2, "%ProgramFiles%\\b.exe\0"}, true, RegInvalidData},
        {"binary", {3, "b.exe"}, true, RegInvalidData},
        {"260 characters, terminated", {RegTypeString, longest + "v" + '\0'}, true, RegMoreData},
        {"260 characters, unterminated", {RegTypeString, longest + "v"}, true, RegMoreData},
        {"far too long", {RegTypeString, std::string(4000, 'v') + '\0'}, true, RegMoreData},
    };
    for (const auto& c : cases) {
        RecordingLinkPlatform platform;
        if (c.opens && c.value.type == 0)
            platform.AddKey("k");
        else if (c.opens)
            platform.SetDefault("k", c.value);
        Output out;
        EXPECT_EQ(ReadRegDefault(platform, ClassesRootKey, "k", out.bytes.get()), c.result) << c.name;
        EXPECT_TRUE(out.Untouched()) << c.name;
        EXPECT_EQ(platform.OpenKeyCount(), 0) << c.name;
    }

    RecordingLinkPlatform denied;
    denied.FailOpen("k", 5);
    Output out;
    EXPECT_EQ(ReadRegDefault(denied, ClassesRootKey, "k", out.bytes.get()), 5);
    EXPECT_TRUE(out.Untouched());
    EXPECT_EQ(denied.calls, Calls{"RegOpenKeyExA(HKCR, \"k\")"}) << "nothing more after a failed open";
}

TEST(ReadRegDefault, AlwaysTerminatesAtMost259Characters)
{
    const std::string longest(259, 'v');
    const struct {
        const char* name;
        std::string stored;
        std::string text;
    } cases[] = {
        {"259, terminated", longest + '\0', longest},
        {"259, unterminated", longest, longest},
        {"empty, terminated", std::string(1, '\0'), ""},
        {"empty, no bytes", "", ""},
        {"embedded terminator", std::string("abc\0def", 7), "abc"},
        {"code page bytes", "\"C:\\\x83\x75\\b.exe\" \"%1\"", "\"C:\\\x83\x75\\b.exe\" \"%1\""},
    };
    for (const auto& c : cases) {
        RecordingLinkPlatform platform;
        platform.SetDefault("k", {RegTypeString, c.stored});
        Output out;
        ASSERT_EQ(ReadRegDefault(platform, ClassesRootKey, "k", out.bytes.get()), 0) << c.name;
        EXPECT_EQ(std::string(out.bytes.get()), c.text) << c.name;
    }
}

TEST(ReadRegDefault, OpensTheKeyBeforeOverwritingTheBufferItIsNamedIn)
{
    RecordingLinkPlatform platform;
    platform.SetDefault("htmlfile\\shell\\open\\command", "b.exe \"%1\"");
    char buffer[CommandLineSize] = "htmlfile\\shell\\open\\command";
    EXPECT_EQ(ReadRegDefault(platform, ClassesRootKey, buffer, buffer), 0);
    EXPECT_STREQ(buffer, "b.exe \"%1\"");
}

// A shell that fails with 31 and a registry whose ".htm" type is opened by a browser command.
struct Fallback : ::testing::Test {
    RecordingLinkPlatform platform;
    void SetUp() override
    {
        platform.shellResult = 31;
        platform.SetDefault(".htm", "KelvaraPage");
    }
    void Register(const std::string& command)
    {
        platform.SetDefault("KelvaraPage\\shell\\open\\command", command);
    }
};

TEST_F(Fallback, ShellSuccessEndsThere)
{
    for (std::uint32_t code : {33u, 42u, 0xFFFFFFFFu}) {
        RecordingLinkPlatform shellOnly;
        shellOnly.shellResult = code;
        EXPECT_EQ(OpenThroughShellOrBrowser(shellOnly, "http://kelvara.example", 5), code);
        EXPECT_EQ(shellOnly.calls, Calls{"ShellExecuteA(open, \"http://kelvara.example\", 5)"});
    }
}

TEST_F(Fallback, RunsTheRegisteredCommandInOrder)
{
    Register("\"C:\\Browser\\b.exe\" -nohome \"%1\"");
    platform.runResult = 33;
    EXPECT_EQ(OpenThroughShellOrBrowser(platform, "http://kelvara.example", 3), 33u);
    EXPECT_EQ(platform.calls,
              (Calls{
                  "ShellExecuteA(open, \"http://kelvara.example\", 3)",
                  "RegOpenKeyExA(HKCR, \".htm\")",
                  "RegQueryValueExA(\".htm\", 260)",
                  "RegCloseKey(\".htm\")",
                  "RegOpenKeyExA(HKCR, \"KelvaraPage\\shell\\open\\command\")",
                  "RegQueryValueExA(\"KelvaraPage\\shell\\open\\command\", 260)",
                  "RegCloseKey(\"KelvaraPage\\shell\\open\\command\")",
                  "WinExec(\"\"C:\\Browser\\b.exe\" -nohome  http://kelvara.example\", 3)",
              }));
    EXPECT_EQ(platform.OpenKeyCount(), 0);
}

TEST_F(Fallback, TheThreeShapesOfCommand)
{
    const struct {
        const char* command;
        const char* line;
    } cases[] = {
        {"\"C:\\Browser\\b.exe\" -nohome \"%1\"", "\"C:\\Browser\\b.exe\" -nohome  mailto:a@b"},
        {"C:\\Browser\\b.exe %1 -new-window", "C:\\Browser\\b.exe  mailto:a@b"},
        {"C:\\Browser\\b.exe -url", "C:\\Browser\\b.exe -url mailto:a@b"},
    };
    for (const auto& c : cases) {
        Register(c.command);
        platform.calls.clear();
        OpenThroughShellOrBrowser(platform, "mailto:a@b", 5);
        EXPECT_EQ(platform.calls.back(), "WinExec(\"" + std::string(c.line) + "\", 5)");
    }
}

TEST_F(Fallback, WinExecCodeIsTheResultEitherWay)
{
    Register("b.exe");
    for (std::uint32_t code : {0u, 2u, 11u, 33u}) {
        platform.runResult = code;
        EXPECT_EQ(OpenThroughShellOrBrowser(platform, "http://x", 5), code);
    }
}

TEST_F(Fallback, ShellCodeWhenTheFallbackCannotRun)
{
    const std::string longest(259, 'c');
    const struct {
        const char* name;
        void (*arrange)(RecordingLinkPlatform&);
        std::string target;
        std::size_t lastCall;   // calls made, up to the one that failed
    } cases[] = {
        {"no .htm key", [](RecordingLinkPlatform& p) { p.FailOpen(".htm", RegFileNotFound); }, "x", 2},
        {"no .htm default", [](RecordingLinkPlatform& p) { p.AddKey(".htm"); }, "x", 4},
        {"no open command key", [](RecordingLinkPlatform&) {}, "x", 5},
        {"open command not text",
         [](RecordingLinkPlatform& p) { p.SetDefault("KelvaraPage\\shell\\open\\command", {2, "b\0"}); },
         "x", 7},
        {"command and target over 520 bytes",
         [](RecordingLinkPlatform& p) {
             p.SetDefault("KelvaraPage\\shell\\open\\command", std::string(259, 'c'));
         },
         std::string(260, 't'), 7},
    };
    for (const auto& c : cases) {
        RecordingLinkPlatform p;
        p.shellResult = 31;
        p.SetDefault(".htm", "KelvaraPage");
        c.arrange(p);
        EXPECT_EQ(OpenThroughShellOrBrowser(p, c.target.c_str(), 5), 31u) << c.name;
        EXPECT_EQ(p.calls.size(), c.lastCall) << c.name;
        for (const std::string& call : p.calls)
            EXPECT_EQ(call.rfind("WinExec", 0), std::string::npos) << c.name;
        EXPECT_EQ(p.OpenKeyCount(), 0) << c.name;
    }
    // The largest line that fits still runs.
    Register(longest);
    platform.runResult = 33;
    EXPECT_EQ(OpenThroughShellOrBrowser(platform, std::string(259, 't').c_str(), 5), 33u);
    EXPECT_EQ(platform.calls.back(), "WinExec(\"" + longest + " " + std::string(259, 't') + "\", 5)");
}

TEST_F(Fallback, ALongestTypeNameStillFindsItsCommand)
{
    const std::string type(259, 'T');
    platform.SetDefault(".htm", type);
    platform.SetDefault(type + "\\shell\\open\\command", "b.exe");
    EXPECT_EQ(OpenThroughShellOrBrowser(platform, "http://x", 5), 33u);
    EXPECT_EQ(platform.calls.back(), "WinExec(\"b.exe http://x\", 5)");
}

TEST_F(Fallback, EveryShellFailureCodeFallsBack)
{
    Register("b.exe");
    for (std::uint32_t code : {0u, 2u, 5u, 26u, 31u, 32u}) {
        platform.shellResult = code;
        platform.calls.clear();
        EXPECT_EQ(OpenThroughShellOrBrowser(platform, "http://x", 5), 33u) << code;
        EXPECT_EQ(platform.calls.size(), 8u) << code;
    }
}

}  // namespace
