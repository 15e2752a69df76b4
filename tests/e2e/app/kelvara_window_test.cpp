// The real Kelvara.exe (and its test build, whose catalogue also knows the stand-in files)
// driven from another process, as a user would drive it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../fixtures/target_fixture.h"
#include "window_driver.h"

namespace {

enum Control {
    FileNameBox = 1000,
    BrowseButton = 1001,
    RecognisedBox = 1002,
    StatusBox = 1003,
    PatchButton = 1004,
    UnpatchButton = 1005,
};

std::string WindowsPath(std::string path)
{
    // CMake hands over host paths; Wine maps the host's root as drive Z:.
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

const std::string shippedExe = WindowsPath(KELVARA_EXE);
const std::string testExe = WindowsPath(KELVARA_TEST_EXE);
const std::string screenshotDir = WindowsPath(KELVARA_SCREENSHOT_DIR);

std::string ScratchDir()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "kelvara-e2e";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Screenshot(const KelvaraProcess& kelvara, const char* name)
{
    CreateDirectoryA(screenshotDir.c_str(), nullptr);
    EXPECT_TRUE(SaveScreenshot(kelvara.Dialog(), screenshotDir + "\\" + name + ".bmp")) << name;
}

void ExpectShown(const KelvaraProcess& kelvara, const std::string& path, const std::string& recognised,
                 const std::string& status, bool patch, bool unpatch)
{
    EXPECT_EQ(kelvara.Text(FileNameBox), path);
    EXPECT_EQ(kelvara.Text(RecognisedBox), recognised);
    EXPECT_EQ(kelvara.Text(StatusBox), status);
    EXPECT_EQ(kelvara.Enabled(PatchButton), patch);
    EXPECT_EQ(kelvara.Enabled(UnpatchButton), unpatch);
}

// The byte offsets at which two equally long files differ.
std::vector<std::size_t> Differences(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i])
            offsets.push_back(i);
    return offsets;
}

// Holds a file open the way another program might: share says what others may still do.
class HeldOpen {
public:
    HeldOpen(const std::string& path, DWORD share)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() { CloseHandle(handle); }
    bool Held() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

TEST(KelvaraWindow, StartsEmptyWithTheVersionInItsCaption)
{
    KelvaraProcess kelvara(shippedExe);
    ASSERT_TRUE(kelvara.Started());
    EXPECT_EQ(WindowText(kelvara.Dialog()), "Kelvara 1.0.0.4");
    ExpectShown(kelvara, "", "", "", false, false);
    EXPECT_EQ(kelvara.Focus(), kelvara.Item(FileNameBox));
    Screenshot(kelvara, "no-file");
}

TEST(KelvaraWindow, EveryWayOfClosingEndsTheProgram)
{
    const struct {
        const char* way;
        void (*close)(const KelvaraProcess&);
    } ways[] = {
        {"Enter in the file name box",
         [](const KelvaraProcess& k) { k.Key(k.Item(FileNameBox), VK_RETURN); }},
        {"Esc", [](const KelvaraProcess& k) { k.Key(k.Item(FileNameBox), VK_ESCAPE); }},
        {"close box", [](const KelvaraProcess& k) { PostMessageA(k.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4",
         [](const KelvaraProcess& k) {
             PostMessageA(k.Item(FileNameBox), WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(0x203E0001));
         }},
    };
    for (const auto& way : ways) {
        KelvaraProcess kelvara(shippedExe);
        ASSERT_TRUE(kelvara.Started()) << way.way;
        way.close(kelvara);
        EXPECT_TRUE(kelvara.WaitForExit()) << way.way;
    }
}

TEST(KelvaraWindow, EnterOnTheBrowseButtonOpensTheFileDialogAndCancelChangesNothing)
{
    const std::string dir = ScratchDir();
    const std::string path = dir + "\\cancel.exe";
    WriteFile(path, SoundFixture().shipped);
    KelvaraProcess kelvara(testExe);
    ASSERT_TRUE(kelvara.Started());
    ASSERT_TRUE(kelvara.Choose(path));
    ExpectShown(kelvara, path, "Fixture Release", "Original", true, false);

    kelvara.Key(kelvara.Item(FileNameBox), VK_TAB);
    ASSERT_TRUE(kelvara.WaitUntil([&] { return kelvara.Focus() == kelvara.Item(BrowseButton); }));
    kelvara.Key(kelvara.Item(BrowseButton), VK_RETURN);
    HWND files = kelvara.WaitForDialog("ProntoEdit / RC5000Setup Executable to patch");
    ASSERT_NE(files, nullptr);
    // The one filter, in the file type box.
    bool filterShown = false;
    for (HWND combo : Children(files, "ComboBox"))
        filterShown = filterShown || WindowText(combo) == "Executable files (*.exe)";
    EXPECT_TRUE(filterShown);
    Dismiss(files, IDCANCEL);
    kelvara.Settle();
    ExpectShown(kelvara, path, "Fixture Release", "Original", true, false);
}

TEST(KelvaraWindow, TheFileDialogStartsInProntoThenInTheChosenFilesDirectory)
{
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA("C:\\Program Files\\Pronto", nullptr);
    WriteFile("C:\\Program Files\\Pronto\\pronto-fixture.exe", SoundFixture().patched);
    const std::string dir = ScratchDir();
    WriteFile(dir + "\\beside.exe", SoundFixture().shipped);

    KelvaraProcess kelvara(testExe);
    ASSERT_TRUE(kelvara.Started());
    // A bare name is taken from the directory the dialog opened in.
    ASSERT_TRUE(kelvara.Choose("pronto-fixture.exe"));
    ExpectShown(kelvara, "C:\\Program Files\\Pronto\\pronto-fixture.exe", "Fixture Release", "Patched", false,
                true);

    ASSERT_TRUE(kelvara.Choose(dir + "\\beside.exe"));
    ASSERT_TRUE(kelvara.Choose("beside.exe"));
    ExpectShown(kelvara, dir + "\\beside.exe", "Fixture Release", "Original", true, false);
}

TEST(KelvaraWindow, PatchThenUnpatchChangesOnlyTheFiveBytes)
{
    const FixtureRelease& fixture = SoundFixture();
    const std::string path = ScratchDir() + "\\ProntoEdit.exe";
    WriteFile(path, fixture.shipped);
    KelvaraProcess kelvara(testExe);
    ASSERT_TRUE(kelvara.Started());
    ASSERT_TRUE(kelvara.Choose(path));
    ExpectShown(kelvara, path, "Fixture Release", "Original", true, false);
    Screenshot(kelvara, "original");

    kelvara.Press(PatchButton);
    ExpectShown(kelvara, path, "Fixture Release", "Patched", false, true);
    Screenshot(kelvara, "patched");
    const std::vector<std::uint8_t> patched = ReadFile(path);
    EXPECT_EQ(patched, fixture.patched);
    EXPECT_EQ(Differences(fixture.shipped, patched), (std::vector<std::size_t>{0x148, 0x149, 0x14A, 0x151, 0x152}));

    kelvara.Press(UnpatchButton);
    ExpectShown(kelvara, path, "Fixture Release", "Original", true, false);
    EXPECT_EQ(ReadFile(path), fixture.shipped);
}

TEST(KelvaraWindow, FilesItCannotUseAreShownAsSuch)
{
    const std::string dir = ScratchDir();
    std::vector<std::uint8_t> changed = SoundFixture().shipped;
    changed[4000] ^= 1;
    WriteFile(dir + "\\changed.exe", changed);
    WriteFile(dir + "\\empty.exe", {});
    WriteFile(dir + "\\locked.exe", SoundFixture().shipped);

    KelvaraProcess kelvara(testExe);
    ASSERT_TRUE(kelvara.Started());
    ASSERT_TRUE(kelvara.Choose(dir + "\\changed.exe"));
    ExpectShown(kelvara, dir + "\\changed.exe", "Unrecognised file.", "", false, false);
    Screenshot(kelvara, "unrecognised");

    ASSERT_TRUE(kelvara.Choose(dir + "\\empty.exe"));
    ExpectShown(kelvara, dir + "\\empty.exe", "Unrecognised file.", "", false, false);

    // After a recognised file, a file nobody may read leaves nothing enabled.
    ASSERT_TRUE(kelvara.Choose(dir + "\\locked.exe"));
    ExpectShown(kelvara, dir + "\\locked.exe", "Fixture Release", "Original", true, false);
    {
        HeldOpen locked(dir + "\\locked.exe", 0);
        ASSERT_TRUE(locked.Held());
        ASSERT_TRUE(kelvara.Choose(dir + "\\locked.exe"));
        ExpectShown(kelvara, dir + "\\locked.exe", "Could not open file.", "", false, false);
    }
}

// A patch that cannot be written shows its text in a box captioned with the executable's
// name, then shows what is on disk.
void ExpectFailedPatch(const std::string& exe, const std::string& title)
{
    const FixtureRelease& fixture = SoundFixture();
    const std::string path = ScratchDir() + "\\readonly.exe";
    WriteFile(path, fixture.shipped);
    KelvaraProcess kelvara(exe);
    ASSERT_TRUE(kelvara.Started());
    ASSERT_TRUE(kelvara.Choose(path));
    {
        HeldOpen readOnly(path, FILE_SHARE_READ);   // others may read, nobody may write
        ASSERT_TRUE(readOnly.Held());
        kelvara.Click(PatchButton);
        HWND box = kelvara.WaitForDialog(title);
        ASSERT_NE(box, nullptr) << title;
        EXPECT_EQ(MessageBoxText(box), "Could not open file.");
        EXPECT_FALSE(MessageBoxHasIcon(box));
        Dismiss(box);
    }
    kelvara.Settle();
    ExpectShown(kelvara, path, "Fixture Release", "Original", true, false);
    EXPECT_EQ(ReadFile(path), fixture.shipped);
}

TEST(KelvaraWindow, AFileOthersHoldAgainstWritingIsLeftAsItWas)
{
    ExpectFailedPatch(testExe, "KelvaraTest");
}

TEST(KelvaraWindow, ARenamedExecutableCaptionsItsBoxesWithItsNewName)
{
    const std::string renamed = ScratchDir() + "\\Pronto Fixer.exe";
    ASSERT_TRUE(CopyFileA(testExe.c_str(), renamed.c_str(), FALSE));
    ExpectFailedPatch(renamed, "Pronto Fixer");
}

TEST(KelvaraWindow, AWriteThatFailsPartWayIsReportedAndTheFileShownUnrecognised)
{
    const FixtureRelease& torn = TornFixture();
    const std::string path = ScratchDir() + "\\torn.exe";
    WriteFile(path, torn.shipped);
    KelvaraProcess kelvara(testExe);
    ASSERT_TRUE(kelvara.Started());
    ASSERT_TRUE(kelvara.Choose(path));
    ExpectShown(kelvara, path, "Fixture Release Torn", "Original", true, false);

    kelvara.Click(PatchButton);
    HWND box = kelvara.WaitForDialog("KelvaraTest");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Error seeking in file. FILE CORRUPTED.");
    Dismiss(box);
    kelvara.Settle();
    ExpectShown(kelvara, path, "Unrecognised file.", "", false, false);
    EXPECT_EQ(Differences(torn.shipped, ReadFile(path)), std::vector<std::size_t>{0x148});
}

TEST(KelvaraWindow, AFileChangedSinceItWasShownIsNotWritten)
{
    const FixtureRelease& fixture = SoundFixture();
    const std::string path = ScratchDir() + "\\swapped.exe";
    WriteFile(path, fixture.shipped);
    KelvaraProcess kelvara(testExe);
    ASSERT_TRUE(kelvara.Started());
    ASSERT_TRUE(kelvara.Choose(path));
    ExpectShown(kelvara, path, "Fixture Release", "Original", true, false);

    WriteFile(path, fixture.patched);   // patched behind Kelvara's back
    kelvara.Press(PatchButton);
    ExpectShown(kelvara, path, "Fixture Release", "Patched", false, true);
    EXPECT_EQ(ReadFile(path), fixture.patched);

    std::vector<std::uint8_t> other = fixture.patched;
    other[10] ^= 0x55;
    WriteFile(path, other);
    kelvara.Press(UnpatchButton);
    ExpectShown(kelvara, path, "Unrecognised file.", "", false, false);
    EXPECT_EQ(ReadFile(path), other);
}

}  // namespace
