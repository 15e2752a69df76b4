// The resources as a program carries them, read back from the executable:
// the main dialog's template, the icon, the version block and the manifest;
// and the own version string read from them (and from a program without them).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "own_version.h"
#include "res/resource.h"

namespace {

// A resource of this executable in English (United States), or empty.
std::string Resource(LPCSTR type, LPCSTR name) {
    HMODULE self = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceExA(self, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found) return std::string();
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(self, found)));
    return bytes ? std::string(bytes, ::SizeofResource(self, found)) : std::string();
}

// Reads the little-endian fields of a resource in order.
class Reader {
public:
    explicit Reader(const std::string& bytes, std::size_t start = 0) : at(start), data(bytes) {}
    WORD Word() { return static_cast<WORD>(Byte() | Byte() << 8); }
    DWORD Dword() { return Word() | static_cast<DWORD>(Word()) << 16; }
    short Short() { return static_cast<short>(Word()); }
    unsigned Byte() { return at < data.size() ? static_cast<unsigned char>(data[at++]) : 0u; }
    // A zero-terminated UTF-16 string of ASCII text.
    std::string Text() {
        std::string text;
        for (WORD c; (c = Word()) != 0;) text += static_cast<char>(c);
        return text;
    }
    // A string, or 0xFFFF and an ordinal (given as "#n").
    std::string TextOrOrdinal() {
        if (Peek() == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    WORD Peek() const { return Reader(data, at).Word(); }
    void AlignTo(std::size_t n) { at = (at + n - 1) / n * n; }
    std::size_t at;

private:
    const std::string& data;
};

struct Control {
    std::string kind;   // the class: an ordinal of the system's classes, or a name
    int id;
    std::string text;
    short x, y, cx, cy;
    DWORD style;
};

TEST(MainDialogTemplate, IsTheExtendedTemplateWithItsSeventeenControls) {
    std::string data = Resource(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_MAIN));
    ASSERT_FALSE(data.empty());
    Reader r(data);
    EXPECT_EQ(r.Word(), 1);        // extended template
    EXPECT_EQ(r.Word(), 0xFFFF);
    EXPECT_EQ(r.Dword(), 0u);      // help identifier
    EXPECT_EQ(r.Dword(), static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(r.Dword(), 0x90C800C0u);
    WORD count = r.Word();
    EXPECT_EQ(count, 17);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 327);
    EXPECT_EQ(r.Short(), 175);
    EXPECT_EQ(r.TextOrOrdinal(), "");   // no menu
    EXPECT_EQ(r.TextOrOrdinal(), "");   // the standard dialog class
    EXPECT_EQ(r.Text(), "Kelvara");
    EXPECT_EQ(r.Word(), 8);             // points
    EXPECT_EQ(r.Word(), 0);             // weight
    EXPECT_EQ(r.Byte(), 0u);            // not italic
    EXPECT_EQ(r.Byte(), 1u);            // character set
    EXPECT_EQ(r.Text(), "MS Sans Serif");

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD box = child | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
    const std::string button = "#128", edit = "#129", stat = "#130";
    const std::vector<Control> expected = {
        {button, -1, "Read this!", 5, 5, 315, 80, child | BS_GROUPBOX},
        {stat, -1,
         "This program was not made by Philips or Marantz. I hope it solves problems you may have with large "
         "CCF files but, if it makes things worse, don't blame me. Let me know if your problems continue.",
         10, 15, 305, 25, child | SS_LEFT | WS_GROUP},
        {stat, -1,
         "If this patch actually makes things worse you can try the \"unpatch\" button or reinstall the software.",
         10, 45, 305, 20, child | SS_LEFT | WS_GROUP},
        {stat, -1, "Uses the RSA Data Security, Inc. MD5 Message-Digest Algorithm.", 10, 70, 220, 8,
         child | SS_LEFT | WS_GROUP},
        {button, -1, "ProntoEdit / RC5000Setup / Touch Screen Setup main executable:", 5, 90, 315, 70,
         child | BS_GROUPBOX},
        {stat, -1, "Filename:", 10, 101, 31, 14, child | SS_LEFT | SS_CENTERIMAGE | WS_GROUP},
        {edit, IDC_FILENAME, "", 70, 101, 225, 14, box},
        {button, IDC_BROWSE, "...", 295, 101, 20, 14, child | BS_PUSHBUTTON | WS_TABSTOP},
        {stat, -1, "Recognised as:", 10, 120, 50, 14, child | SS_LEFT | SS_CENTERIMAGE | WS_GROUP},
        {edit, IDC_RECOGNISED_AS, "", 70, 120, 125, 14, box},
        {stat, -1, "Patch status:", 205, 120, 42, 14, child | SS_LEFT | SS_CENTERIMAGE | WS_GROUP},
        {edit, IDC_PATCH_STATUS, "", 250, 120, 65, 14, box},
        {stat, -1, "E-mail me unrecognised files and I will update this utility.", 10, 145, 175, 8,
         child | SS_LEFT | WS_GROUP},
        {button, IDC_PATCH, "Patch", 205, 141, 50, 14, child | BS_PUSHBUTTON | WS_DISABLED | WS_TABSTOP},
        {button, IDC_UNPATCH, "Unpatch", 265, 141, 50, 14, child | BS_PUSHBUTTON | WS_DISABLED | WS_TABSTOP},
        {stat, IDC_WEB_LINK, KELVARA_WEB_LINK_TEXT, 5, 165, 186, 8, child | SS_LEFT | WS_GROUP},
        {stat, IDC_MAIL_LINK, KELVARA_MAIL_LINK_TEXT, 252, 165, 68, 8, child | SS_LEFT | WS_GROUP},
    };
    for (std::size_t i = 0; i < expected.size() && i < count; ++i) {
        const Control& e = expected[i];
        r.AlignTo(4);
        EXPECT_EQ(r.Dword(), 0u) << "control " << i + 1 << " help id";
        EXPECT_EQ(r.Dword(), 0u) << "control " << i + 1 << " extended style";
        DWORD style = r.Dword();
        short x = r.Short(), y = r.Short(), cx = r.Short(), cy = r.Short();
        int id = static_cast<int>(r.Dword());
        std::string kind = r.TextOrOrdinal();
        std::string text = r.TextOrOrdinal();
        WORD extra = r.Word();
        r.at += extra;
        EXPECT_EQ(kind, e.kind) << "control " << i + 1;
        EXPECT_EQ(id, e.id) << "control " << i + 1;
        EXPECT_EQ(text, e.text) << "control " << i + 1;
        EXPECT_EQ(std::vector<short>({x, y, cx, cy}), std::vector<short>({e.x, e.y, e.cx, e.cy})) << "control " << i + 1;
        EXPECT_EQ(style, e.style) << "control " << i + 1 << std::hex << " style 0x" << style;
    }
    EXPECT_EQ(r.at, data.size());
}

TEST(Icon, HasA32And16PixelImageOf16Colours) {
    std::string group = Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_FALSE(group.empty());
    Reader r(group);
    EXPECT_EQ(r.Word(), 0);
    EXPECT_EQ(r.Word(), 1);   // icons
    ASSERT_EQ(r.Word(), 2);
    for (unsigned size : {32u, 16u}) {
        EXPECT_EQ(r.Byte(), size);
        EXPECT_EQ(r.Byte(), size);
        EXPECT_EQ(r.Byte(), 16u);   // colours
        r.Byte();
        EXPECT_EQ(r.Word(), 1);     // planes
        EXPECT_EQ(r.Word(), 4);     // bits per pixel
        DWORD bytes = r.Dword();
        WORD image = r.Word();
        std::string bits = Resource(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(image));
        EXPECT_EQ(bits.size(), bytes);
        // Header, palette, colour rows of size / 2 bytes, mask rows padded to 4 bytes.
        EXPECT_EQ(bytes, 40 + 64 + size * size / 2 + 4 * size);
    }
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    EXPECT_NE(icon, nullptr);
}

TEST(Manifest, AsksForTheHighestAvailableRightsAndNamesTheSystems) {
    std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"highestAvailable\" uiAccess=\"false\"/>"),
              std::string::npos);
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    }
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

TEST(VersionBlock, FixedPartStringTableAndTranslation) {
    std::string block = Resource(MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(block.empty());
    Reader r(block);
    r.Word();
    EXPECT_EQ(r.Word(), sizeof(VS_FIXEDFILEINFO));
    r.Word();
    EXPECT_EQ(r.Text(), "VS_VERSION_INFO");
    r.AlignTo(4);
    EXPECT_EQ(r.Dword(), 0xFEEF04BDu);
    r.Dword();
    EXPECT_EQ(r.Dword(), 0x00010000u);   // file version 1.0 ...
    EXPECT_EQ(r.Dword(), 0x00000004u);   // ... .0.4
    EXPECT_EQ(r.Dword(), 0x00010000u);   // product version
    EXPECT_EQ(r.Dword(), 0x00000004u);
    EXPECT_EQ(r.Dword(), 0x3Fu);         // flags mask
    EXPECT_EQ(r.Dword(), 0u);            // flags
    EXPECT_EQ(r.Dword(), 4u);            // 32-bit Windows
    EXPECT_EQ(r.Dword(), 1u);            // application
    EXPECT_EQ(r.Dword(), 0u);            // subtype
    EXPECT_EQ(r.Dword(), 0u);            // date
    EXPECT_EQ(r.Dword(), 0u);

    // StringFileInfo, its one table, and the values in order.
    r.AlignTo(4);
    std::size_t stringFileInfoEnd = r.at + r.Word();
    r.Word();
    r.Word();
    EXPECT_EQ(r.Text(), "StringFileInfo");
    r.AlignTo(4);
    std::size_t tableEnd = r.at + r.Word();
    r.Word();
    r.Word();
    EXPECT_EQ(r.Text(), "040904b0");
    std::vector<std::pair<std::string, std::string>> values;
    for (r.AlignTo(4); r.at < tableEnd; r.AlignTo(4)) {
        std::size_t end = r.at + r.Word();
        WORD valueLength = r.Word();
        r.Word();
        std::string key = r.Text();
        r.AlignTo(4);
        std::string value = valueLength ? r.Text() : std::string();
        values.emplace_back(key, value);
        r.at = end;
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Comments", ""},
        {"CompanyName", ""},
        {"FileDescription", "Kelvara MFC Application"},
        {"FileVersion", "1, 0, 0, 4"},
        {"InternalName", "Kelvara"},
        {"LegalCopyright", "Copyright (C) the Kelvara authors"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "Kelvara.EXE"},
        {"PrivateBuild", ""},
        {"ProductName", "Kelvara Application"},
        {"ProductVersion", "1, 0, 0, 4"},
        {"SpecialBuild", ""},
    };
    EXPECT_EQ(values, expected);

    r.at = stringFileInfoEnd;
    r.AlignTo(4);
    r.Word();
    r.Word();
    r.Word();
    EXPECT_EQ(r.Text(), "VarFileInfo");
    r.AlignTo(4);
    r.Word();
    EXPECT_EQ(r.Word(), 4);
    r.Word();
    EXPECT_EQ(r.Text(), "Translation");
    r.AlignTo(4);
    EXPECT_EQ(r.Word(), 0x0409);
    EXPECT_EQ(r.Word(), 1200);
}

TEST(OwnVersion, OurProgramGives1004) {
    char* version = GetOwnVersionString();
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(version, "1.0.0.4");
    std::free(version);
}

TEST(OwnVersion, AProgramWithoutAVersionResourceGivesNone) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string dir(self);
    dir.erase(dir.find_last_of("\\/") + 1);
    std::string probe = dir + OWN_VERSION_PROBE;
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof(temp), temp);
    std::string report = std::string(temp) + "kelvara_own_version_probe.txt";
    ::DeleteFileA(report.c_str());
    std::string commandLine = "\"" + probe + "\" \"" + report + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process))
        << probe;
    ASSERT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(code, 0u);
    std::string text;
    if (FILE* f = std::fopen(report.c_str(), "rb")) {
        char buffer[256] = {};
        text.assign(buffer, std::fread(buffer, 1, sizeof(buffer) - 1, f));
        std::fclose(f);
    }
    EXPECT_EQ(text, "size=0 version=(none)");
    ::DeleteFileA(report.c_str());
}

}  // namespace
