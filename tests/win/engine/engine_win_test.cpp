// The engine on Windows file semantics, under wine64: the real streams, and a file that
// another program holds open without sharing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "identify.h"
#include "target_fixture.h"
#include "temp_files.h"

namespace {

struct Reports {
    int count = 0;
    std::string text;
    static void Record(void* context, const char* failureText)
    {
        auto* self = static_cast<Reports*>(context);
        ++self->count;
        self->text = failureText;
    }
};

Catalogue WithFixtures()
{
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    AppendFixtureReleases(catalogue);
    return catalogue;
}

TEST(EngineOnWindows, IdentifyPatchUnpatchRoundTrip)
{
    TempDir dir("win");
    const FixtureRelease& release = SoundFixture();
    const Catalogue catalogue = WithFixtures();
    const std::string path = dir.File("ProntoEdit.exe");
    WriteBytes(path, release.shipped);

    Identification shipped = IdentifyFile(path.c_str(), catalogue);
    ASSERT_EQ(shipped.outcome, Outcome::Matched);
    EXPECT_STREQ(shipped.match->displayName, release.name);
    EXPECT_EQ(shipped.match->isPatched, 0);

    Reports reports;
    EXPECT_EQ(WritePatch(path.c_str(), *shipped.match, Reports::Record, &reports), nullptr);
    EXPECT_EQ(ReadBytes(path), release.patched);
    Identification patched = IdentifyFile(path.c_str(), catalogue);
    ASSERT_EQ(patched.outcome, Outcome::Matched);
    EXPECT_EQ(patched.match->isPatched, 1);
    EXPECT_EQ(patched.match->records, shipped.match->records);

    EXPECT_EQ(WritePatch(path.c_str(), *patched.match, Reports::Record, &reports), nullptr);
    EXPECT_EQ(ReadBytes(path), release.shipped);
    EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).match, shipped.match);
    EXPECT_EQ(reports.count, 0);

    EXPECT_EQ(IdentifyFile(dir.File("missing.exe").c_str(), catalogue).outcome, Outcome::CannotOpen);
    EXPECT_EQ(IdentifyFile(dir.path.string().c_str(), catalogue).outcome, Outcome::CannotOpen);
}

TEST(EngineOnWindows, FileHeldOpenWithoutSharingCannotBeOpened)
{
    TempDir dir("winlock");
    const FixtureRelease& release = SoundFixture();
    const Catalogue catalogue = WithFixtures();
    const std::string path = dir.File("Locked.exe");
    WriteBytes(path, release.shipped);
    const KnownFile* shipped = IdentifyFile(path.c_str(), catalogue).match;
    ASSERT_NE(shipped, nullptr);

    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).outcome, Outcome::CannotOpen);
    Reports reports;
    EXPECT_STREQ(WritePatch(path.c_str(), *shipped, Reports::Record, &reports), "Could not open file.");
    EXPECT_EQ(reports.count, 1);
    EXPECT_EQ(reports.text, "Could not open file.");
    CloseHandle(held);

    EXPECT_EQ(ReadBytes(path), release.shipped);
    EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).match, shipped);
}

}  // namespace
