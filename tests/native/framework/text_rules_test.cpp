#include "framework/text_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AppTitleFromPath, FileNameWithoutDirectoryAndExtension) {
    struct Case {
        const char* path;
        const char* title;
        const char* helpPath;
    } cases[] = {
        {"C:\\Program Files\\Kelvara\\Kelvara.EXE", "Kelvara", "C:\\Program Files\\Kelvara\\Kelvara.HLP"},
        {"C:\\Tools\\Renamed Tool.v2.exe", "Renamed Tool.v2", "C:\\Tools\\Renamed Tool.v2.HLP"},
        {"/home/user/.wine/drive_c/k.exe", "k", "/home/user/.wine/drive_c/k.HLP"},
        {"C:kelvara.exe", "kelvara", "C:kelvara.HLP"},                  // drive-relative: ":" separates
        {"D:\\mixed/dirs\\last/Kel.exe", "Kel", "D:\\mixed/dirs\\last/Kel.HLP"},
        {"C:\\dir.v2\\Kelvara", "Kelvara", "C:\\dir.v2\\Kelvara.HLP"},  // a dot in a directory cuts nothing
        {"Kelvara", "Kelvara", "Kelvara.HLP"},
        {"C:\\Tools\\", "", "C:\\Tools\\.HLP"},
        {"", "", ".HLP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppTitleFromPath(c.path), c.title) << c.path;
        EXPECT_EQ(HelpPathFromPath(c.path), c.helpPath) << c.path;
    }
    EXPECT_EQ(AppTitleFromPath(nullptr), "");
}

TEST(FileDialogFilter, BarsBecomeNulsEndingInTwo) {
    using namespace std::string_literals;
    EXPECT_EQ(FileDialogFilter("Executable files (*.exe)|*.exe||"), "Executable files (*.exe)\0*.exe\0\0"s);
    EXPECT_EQ(FileDialogFilter("A (*.a)|*.a|B (*.b)|*.b;*.c||"), "A (*.a)\0*.a\0B (*.b)\0*.b;*.c\0\0"s);
    // Without the closing "||" it is closed all the same.
    EXPECT_EQ(FileDialogFilter("A|*.a"), "A\0*.a\0\0"s);
    EXPECT_EQ(FileDialogFilter(""), "");
    EXPECT_EQ(FileDialogFilter(nullptr), "");
}

}  // namespace
