#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "../../../app/dialog_logic.h"

namespace {

struct Freed {
    void operator()(char* text) const { std::free(text); }
};
using Owned = std::unique_ptr<char, Freed>;

TEST(DirectoryOfPath, NullGivesNull)
{
    EXPECT_EQ(DirectoryOfPath(nullptr), nullptr);
}

TEST(DirectoryOfPath, CutsAtTheLaterSeparator)
{
    const struct {
        const char* path;
        const char* directory;
    } cases[] = {
        {"Kelvara.exe", ""},
        {"", ""},
        {"C:\\Program Files\\Pronto\\ProntoEdit.exe", "C:\\Program Files\\Pronto"},
        {"C:\\ProntoEdit.exe", "C:"},
        {"C:\\", "C:"},
        {"\\", ""},
        {"C:\\tools/setup/RC5000Setup.exe", "C:\\tools/setup"},   // "/" after any "\"
        {"C:/tools\\setup\\RC5000Setup.exe", "C:/tools\\setup"},  // "\" after any "/"
        {"/home/user/.wine/drive_c/x.exe", "/home/user/.wine/drive_c"},
        {"dir\\", "dir"},
    };
    for (const auto& c : cases) {
        Owned directory(DirectoryOfPath(c.path));
        ASSERT_NE(directory, nullptr) << c.path;
        EXPECT_EQ(std::string(directory.get()), c.directory) << c.path;
    }
}

TEST(CentreIcon, RoundsHalfUpAndTruncatesTowardZero)
{
    const struct {
        int width, height, x, y;
    } cases[] = {
        {161, 33, 65, 1},
        {0, 0, -15, -15},
        {32, 32, 0, 0},
        {33, 34, 1, 1},
        {1, 2, -15, -14},   // -15.5 truncates to -15, not -16
    };
    for (const auto& c : cases) {
        IconOrigin origin = CentreIcon(c.width, c.height, 32, 32);
        EXPECT_EQ(origin.x, c.x) << c.width;
        EXPECT_EQ(origin.y, c.y) << c.height;
    }
}

const std::uint8_t someDigest[16] = {1};
const PatchByte someRecords[1] = {{0x148, 1, 0}};
const KnownFile shipped{someDigest, "ProntoEdit 2.0", 0, someRecords, 1};
const KnownFile patched{someDigest, "ProntoEdit 2.0", 1, someRecords, 1};

Identification Matched(const KnownFile& entry)
{
    return {Outcome::Matched, &entry, {}};
}

TEST(ShowingOf, EveryOutcome)
{
    ShownIdentification original = ShowingOf(Matched(shipped));
    EXPECT_STREQ(original.recognisedText, "ProntoEdit 2.0");
    EXPECT_STREQ(original.statusText, "Original");
    EXPECT_TRUE(original.patchEnabled);
    EXPECT_FALSE(original.unpatchEnabled);
    EXPECT_EQ(original.match, &shipped);

    ShownIdentification wasPatched = ShowingOf(Matched(patched));
    EXPECT_STREQ(wasPatched.statusText, "Patched");
    EXPECT_FALSE(wasPatched.patchEnabled);
    EXPECT_TRUE(wasPatched.unpatchEnabled);
    EXPECT_EQ(wasPatched.match, &patched);

    for (Outcome outcome : {Outcome::Unrecognised, Outcome::CannotOpen}) {
        ShownIdentification shown = ShowingOf({outcome, nullptr, {}});
        EXPECT_STREQ(shown.recognisedText,
                     outcome == Outcome::Unrecognised ? "Unrecognised file." : "Could not open file.");
        EXPECT_STREQ(shown.statusText, "");
        EXPECT_FALSE(shown.patchEnabled);
        EXPECT_FALSE(shown.unpatchEnabled);
        EXPECT_EQ(shown.match, nullptr);
    }
}

TEST(PatchCommands, ApplyOnlyToTheShownEntryInTheRightState)
{
    EXPECT_TRUE(CommandApplies(&shipped, false));
    EXPECT_TRUE(CommandApplies(&patched, true));
    EXPECT_FALSE(CommandApplies(&shipped, true));
    EXPECT_FALSE(CommandApplies(&patched, false));
    EXPECT_FALSE(CommandApplies(nullptr, false));
    EXPECT_FALSE(CommandApplies(nullptr, true));
}

TEST(PatchCommands, WriteOnlyWhileTheFileIsStillTheShownEntry)
{
    EXPECT_TRUE(StillOnDisk(&shipped, Matched(shipped)));
    EXPECT_FALSE(StillOnDisk(&shipped, Matched(patched)));   // patched behind our back
    EXPECT_FALSE(StillOnDisk(&shipped, {Outcome::Unrecognised, nullptr, {}}));
    EXPECT_FALSE(StillOnDisk(&shipped, {Outcome::CannotOpen, nullptr, {}}));
    EXPECT_FALSE(StillOnDisk(nullptr, Matched(shipped)));
}

}  // namespace
