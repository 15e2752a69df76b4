// The fallback through the registry, end to end in the test run's own Wine prefix: ".htm" is
// pointed at a file type whose open command runs our recorder instead of a browser.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../../../controls/link_platform_win32.h"
#include "label_dialog.h"

namespace {

constexpr const char* TestType = "KelvaraLinkTest.Page";
constexpr const char* TestCommandKey = "KelvaraLinkTest.Page\\shell\\open\\command";

std::string BesideThisProgram(const char* name)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\') + 1) + name;
}

bool SetDefault(const char* subKey, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = ::RegSetValueExA(key, nullptr, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SetDefaultText(const char* subKey, const std::string& text)
{
    return SetDefault(subKey, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// Points ".htm" at the test type for the life of the fixture, and puts back what was there.
class RegisteredRecorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            hadHtm = true;
            DWORD type = 0;
            DWORD size = 0;
            if (::RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
                hadDefault = true;
                savedType = type;
                saved.resize(size);
                ::RegQueryValueExA(key, nullptr, nullptr, &type, saved.data(), &size);
                saved.resize(size);
            }
            ::RegCloseKey(key);
        }
        ASSERT_TRUE(SetDefaultText(".htm", TestType));
        recorder = BesideThisProgram("link_recorder.exe");
        output = BesideThisProgram("link_recorder.out");
        ASSERT_NE(::GetFileAttributesA(recorder.c_str()), INVALID_FILE_ATTRIBUTES) << recorder;
        ::DeleteFileA(output.c_str());
    }

    void TearDown() override
    {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, TestType);
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "KelvaraLinkTest.Value");
        if (!hadHtm) {
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        } else if (hadDefault) {
            SetDefault(".htm", savedType, saved.data(), static_cast<DWORD>(saved.size()));
        } else {
            HKEY key = nullptr;
            if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                ::RegDeleteValueA(key, nullptr);
                ::RegCloseKey(key);
            }
        }
        ::DeleteFileA(output.c_str());
    }

    // The command line the recorder was started with, once it has written it.
    std::string RecordedLine()
    {
        for (int i = 0; i < 300; ++i) {
            std::ifstream file(output, std::ios::binary);
            if (file) {
                std::ostringstream text;
                text << file.rdbuf();
                return text.str();
            }
            ::Sleep(100);
        }
        return "(the recorder never ran)";
    }

    std::string recorder;
    std::string output;

private:
    bool hadHtm = false;
    bool hadDefault = false;
    DWORD savedType = 0;
    std::vector<BYTE> saved;
};

// The real registry and WinExec, but a shell that always fails and a box that only records.
class NoShellPlatform : public Win32LinkPlatform {
public:
    std::vector<std::string> calls;
    std::uint32_t ShellOpen(const char* file, int) override
    {
        calls.push_back(std::string("shell ") + file);
        return 31;
    }
    void Beep(std::uint32_t) override { calls.push_back("beep"); }
    void ShowMessage(const char* text, std::uint32_t) override
    {
        calls.push_back(std::string("box ") + text);
    }
};

TEST_F(RegisteredRecorder, TheRegisteredCommandRunsCutAtItsPlaceholder)
{
    const std::string program = "\"" + recorder + "\"";
    const struct {
        std::string command;
        std::string line;
    } cases[] = {
        {program + " -nohome \"%1\"", program + " -nohome  " + WebTarget},
        {program + " %1 -new-window", program + "  " + WebTarget},
        {program + " -url", program + " -url " + WebTarget},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetDefaultText(TestCommandKey, c.command));
        ::DeleteFileA(output.c_str());
        NoShellPlatform platform;
        LabelDialog dialog;
        ASSERT_EQ(dialog.Run([&](LabelDialog& d) {
            d.web.SetTarget(WebTarget);
            d.web.SetPlatform(&platform);
            d.SendMessage(WM_COMMAND, MAKEWPARAM(WebId, STN_CLICKED),
                          reinterpret_cast<LPARAM>(d.web.m_hWnd));
            EXPECT_TRUE(d.web.isFollowed) << "WinExec's success counts";
        }), IDOK);
        EXPECT_EQ(platform.calls, std::vector<std::string>{std::string("shell ") + WebTarget});
        EXPECT_EQ(RecordedLine(), c.line);
    }
}

TEST_F(RegisteredRecorder, RegistryReadsRefuseWhatTheyCannotHandOn)
{
    NoShellPlatform platform;
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([&](LabelDialog& d) {
        d.web.SetPlatform(&platform);
        char out[RegValueSize];
        ASSERT_EQ(d.web.ReadRegDefault(HKEY_CLASSES_ROOT, ".htm", out), ERROR_SUCCESS);
        EXPECT_STREQ(out, TestType);

        const DWORD number = 7;
        ASSERT_TRUE(SetDefault("KelvaraLinkTest.Value", REG_DWORD, &number, sizeof number));
        EXPECT_EQ(d.web.ReadRegDefault(HKEY_CLASSES_ROOT, "KelvaraLinkTest.Value", out),
                  ERROR_INVALID_DATA);
        ASSERT_TRUE(SetDefaultText("KelvaraLinkTest.Value", std::string(259, 'v')));
        ASSERT_EQ(d.web.ReadRegDefault(HKEY_CLASSES_ROOT, "KelvaraLinkTest.Value", out), ERROR_SUCCESS);
        EXPECT_EQ(std::string(out), std::string(259, 'v'));
        ASSERT_TRUE(SetDefaultText("KelvaraLinkTest.Value", std::string(260, 'v')));
        EXPECT_EQ(d.web.ReadRegDefault(HKEY_CLASSES_ROOT, "KelvaraLinkTest.Value", out), ERROR_MORE_DATA);
        EXPECT_EQ(d.web.ReadRegDefault(HKEY_CLASSES_ROOT, "KelvaraLinkTest.Missing", out),
                  ERROR_FILE_NOT_FOUND);

        // A type whose command key is there but holds no command: the shell's code is reported.
        ASSERT_TRUE(SetDefaultText(TestType, "a page"));
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, TestCommandKey, 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &key, nullptr), ERROR_SUCCESS);
        ::RegCloseKey(key);
        d.web.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        d.web.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
        EXPECT_FALSE(d.web.isFollowed);
    }), IDOK);
    ASSERT_EQ(platform.calls.size(), 3u);
    EXPECT_EQ(platform.calls[1], "beep");
    EXPECT_EQ(platform.calls[2], "box Unable to open hyperlink:\n\nThere is no application associated\n"
                                 "with the given filename extension.");
    EXPECT_EQ(::GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing ran";
}

// The real box: found from another thread, read, and closed with OK.
class BoxReader {
public:
    explicit BoxReader(std::string caption) : caption(std::move(caption)), thread([this] { Watch(); }) {}
    ~BoxReader()
    {
        if (thread.joinable())
            thread.join();
    }
    void Join() { thread.join(); }
    std::string text;
    bool found = false;

private:
    void Watch()
    {
        for (int i = 0; i < 200 && !found; ++i) {
            HWND box = ::FindWindowA("#32770", caption.c_str());
            if (box && ::IsWindowVisible(box)) {
                char buffer[1024] = {};
                ::GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
                text = buffer;
                found = true;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(50);
        }
    }
    std::string caption;
    std::thread thread;
};

TEST(LinkLabelErrorBox, TheWarningBoxIsCaptionedWithTheApplicationsTitle)
{
    // Nothing may open: the shell and the registry both fail through the real box.
    class FailingPlatform : public Win32LinkPlatform {
    public:
        std::uint32_t ShellOpen(const char*, int) override { return 2; }
        std::int32_t OpenRegKey(RegKey, const char*, RegKey*) override { return 2; }
    } platform;
    EXPECT_STREQ(AfxGetAppName(), "link_label_test");
    BoxReader reader(AfxGetAppName());
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([&](LabelDialog& d) {
        d.web.SetPlatform(&platform);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(WebId, STN_CLICKED), reinterpret_cast<LPARAM>(d.web.m_hWnd));
        EXPECT_FALSE(d.web.isFollowed);
    }), IDOK);
    reader.Join();
    EXPECT_TRUE(reader.found);
    EXPECT_EQ(reader.text, "Unable to open hyperlink:\n\nThe specified file was not found.");
}

}  // namespace
