#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "identify.h"
#include "target_fixture.h"
#include "temp_files.h"

namespace {

// The real streams underneath, so bytes on disk are real; any one step fails on demand.
class FailingFileAccess : public FileAccess {
public:
    enum class Step { None, Open, Read, Seek, Write, Flush };

    FailingFileAccess(Step step = Step::None, int index = 0) : failStep(step), failIndex(index) {}

    File* Open(const char* path, bool forUpdate) override
    {
        ++opens;
        openedForUpdate = forUpdate;
        if (failStep == Step::Open)
            return nullptr;
        File* file = real.Open(path, forUpdate);
        if (file)
            ++openFiles;
        return file;
    }
    std::size_t Read(File* file, void* buffer, std::size_t size) override
    {
        if (failStep == Step::Read && reads++ == failIndex) {
            readFailed = true;
            return 0;
        }
        return real.Read(file, buffer, size);
    }
    bool ReadFailed(File* file) override { return readFailed || real.ReadFailed(file); }
    bool Seek(File* file, std::int32_t offset) override
    {
        if (failStep == Step::Seek && seeks++ == failIndex)
            return false;
        return real.Seek(file, offset);
    }
    bool WriteByte(File* file, std::uint8_t value) override
    {
        if (failStep == Step::Write && writes++ == failIndex)
            return false;
        return real.WriteByte(file, value);
    }
    bool Flush(File* file) override { return failStep != Step::Flush && real.Flush(file); }
    void Close(File* file) override
    {
        --openFiles;
        ++closes;
        real.Close(file);
    }

    FileAccess& real = StandardFileAccess();
    Step failStep;
    int failIndex;
    int opens = 0, openFiles = 0, closes = 0, reads = 0, seeks = 0, writes = 0;
    bool openedForUpdate = false;
    bool readFailed = false;
};

struct Reports {
    const FailingFileAccess* files = nullptr;
    std::vector<std::string> texts;
    std::vector<int> openFilesAtReport;

    static void Record(void* context, const char* text)
    {
        auto* self = static_cast<Reports*>(context);
        self->texts.push_back(text);
        self->openFilesAtReport.push_back(self->files ? self->files->openFiles : -1);
    }
};

KnownFile EntryFor(const Digest& digest, const char* name, std::uint8_t isPatched = 0)
{
    static const PatchByte none[1] = {{0, 1, 0}};
    return {digest.bytes, name, isPatched, none, 1};
}

Catalogue BuiltInPlusFixtures()
{
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    AppendFixtureReleases(catalogue);
    return catalogue;
}

const KnownFile* FixtureEntry(const Catalogue& catalogue, const FixtureRelease& release, bool patched)
{
    for (const KnownFile& entry : catalogue)
        if (entry.displayName == release.name && (entry.isPatched != 0) == patched)
            return &entry;
    return nullptr;
}

TEST(Identify, DigestsWholeFilesOfEveryLength)
{
    TempDir dir("identify");
    // Around and across the 4096-byte reads.
    for (std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 5000u, 8192u, 12289u}) {
        SCOPED_TRACE(size);
        const Bytes bytes = PatternBytes(size, static_cast<std::uint32_t>(size) + 1);
        const std::string path = dir.File("target.bin");
        WriteBytes(path, bytes);
        const Digest digest = DigestOf(bytes);

        Catalogue catalogue;
        BuildCatalogue(catalogue);
        Identification builtInOnly = IdentifyFile(path.c_str(), catalogue);
        EXPECT_EQ(builtInOnly.outcome, Outcome::Unrecognised);
        EXPECT_EQ(builtInOnly.match, nullptr);
        EXPECT_EQ(Hex(builtInOnly.digest), Hex(digest.bytes));

        catalogue.push_back(EntryFor(digest, "Made here"));
        Identification found = IdentifyFile(path.c_str(), catalogue);
        ASSERT_EQ(found.outcome, Outcome::Matched);
        EXPECT_EQ(found.match, &catalogue.back());
    }
    WriteBytes(dir.File("empty"), {});
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    Identification empty = IdentifyFile(dir.File("empty").c_str(), catalogue);
    EXPECT_EQ(empty.outcome, Outcome::Unrecognised);
    EXPECT_EQ(Hex(empty.digest), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Identify, NearMissesMatchNothingAndTheFirstEqualEntryWins)
{
    TempDir dir("nearmiss");
    const Bytes bytes = PatternBytes(6000, 5);
    const std::string path = dir.File("target.bin");
    WriteBytes(path, bytes);
    Digest lastDiffers = DigestOf(bytes), firstDiffers = DigestOf(bytes);
    lastDiffers.bytes[15] ^= 1;
    firstDiffers.bytes[0] ^= 0x80;

    Catalogue catalogue;
    catalogue.push_back(EntryFor(lastDiffers, "Last byte differs"));
    catalogue.push_back(EntryFor(firstDiffers, "First byte differs"));
    EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).outcome, Outcome::Unrecognised);

    const Digest exact = DigestOf(bytes);
    catalogue.push_back(EntryFor(exact, "First equal"));
    catalogue.push_back(EntryFor(exact, "Second equal", 1));
    Identification found = IdentifyFile(path.c_str(), catalogue);
    ASSERT_EQ(found.outcome, Outcome::Matched);
    EXPECT_STREQ(found.match->displayName, "First equal");

    for (std::size_t at : {std::size_t(0), std::size_t(4096), bytes.size() - 1}) {
        Bytes changed = bytes;
        changed[at] ^= 0x01;
        WriteBytes(path, changed);
        EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).outcome, Outcome::Unrecognised) << "byte " << at;
    }
}

TEST(Identify, CannotOpenWhatIsNotAReadableRegularFile)
{
    TempDir dir("cannotopen");
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    // A directory would read as empty on Linux; add the empty file's digest to be sure it is
    // not digested at all.
    const Digest empty = DigestOf({});
    catalogue.push_back(EntryFor(empty, "Empty"));
    for (const std::string& path : {dir.File("missing.exe"), dir.path.string(), std::string()}) {
        SCOPED_TRACE(path);
        Identification result = IdentifyFile(path.c_str(), catalogue);
        EXPECT_EQ(result.outcome, Outcome::CannotOpen);
        EXPECT_EQ(result.match, nullptr);
    }
    FailingFileAccess refusing(FailingFileAccess::Step::Open);
    WriteBytes(dir.File("locked.exe"), {1, 2, 3});
    EXPECT_EQ(IdentifyFile(dir.File("locked.exe").c_str(), catalogue, refusing).outcome, Outcome::CannotOpen);
}

TEST(Identify, ReadsForReadingOnlyAndClosesBeforeReturning)
{
    TempDir dir("closes");
    const Bytes bytes = PatternBytes(10000, 8);
    WriteBytes(dir.File("t"), bytes);
    Catalogue catalogue;
    FailingFileAccess files;
    EXPECT_EQ(IdentifyFile(dir.File("t").c_str(), catalogue, files).outcome, Outcome::Unrecognised);
    EXPECT_FALSE(files.openedForUpdate);
    EXPECT_EQ(files.openFiles, 0);
    EXPECT_EQ(files.closes, 1);
    EXPECT_EQ(ReadBytes(dir.File("t")), bytes);
}

// A digest of the bytes before a read error would name the wrong file.
TEST(Identify, ReadErrorPartWayIsCannotOpen)
{
    TempDir dir("readerror");
    const Bytes bytes = PatternBytes(10000, 9);
    WriteBytes(dir.File("t"), bytes);
    Bytes firstRead(bytes.begin(), bytes.begin() + 4096);
    const Digest partial = DigestOf(firstRead);
    Catalogue catalogue;
    catalogue.push_back(EntryFor(partial, "Only the first read"));
    for (int failing : {0, 1, 2}) {
        FailingFileAccess files(FailingFileAccess::Step::Read, failing);
        Identification result = IdentifyFile(dir.File("t").c_str(), catalogue, files);
        EXPECT_EQ(result.outcome, Outcome::CannotOpen) << "read " << failing;
        EXPECT_EQ(files.openFiles, 0);
    }
}

TEST(WritePatch, ShippedToPatchedAndBackChangesOnlyTheRecords)
{
    TempDir dir("roundtrip");
    const FixtureRelease& release = SoundFixture();
    const Catalogue catalogue = BuiltInPlusFixtures();
    const std::string path = dir.File("Target.exe");
    WriteBytes(path, release.shipped);

    Identification before = IdentifyFile(path.c_str(), catalogue);
    ASSERT_EQ(before.outcome, Outcome::Matched);
    ASSERT_EQ(before.match, FixtureEntry(catalogue, release, false));

    Reports reports;
    EXPECT_EQ(WritePatch(path.c_str(), *before.match, Reports::Record, &reports), nullptr);
    EXPECT_EQ(ReadBytes(path), release.patched);
    Identification patched = IdentifyFile(path.c_str(), catalogue);
    ASSERT_EQ(patched.outcome, Outcome::Matched);
    EXPECT_EQ(patched.match, FixtureEntry(catalogue, release, true));

    EXPECT_EQ(WritePatch(path.c_str(), *patched.match, Reports::Record, &reports), nullptr);
    EXPECT_EQ(ReadBytes(path), release.shipped);
    EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).match, before.match);
    EXPECT_TRUE(reports.texts.empty());
}

struct FailureRow {
    FailingFileAccess::Step step;
    int index;
    const char* text;
    int recordsOnDisk;   // records written in the new direction; -1: not checked
};

const FailureRow failureTable[] = {
    {FailingFileAccess::Step::Open, 0, "Could not open file.", 0},
    {FailingFileAccess::Step::Seek, 0, "Error seeking in file. No changes made.", 0},
    {FailingFileAccess::Step::Seek, 1, "Error seeking in file. FILE CORRUPTED.", 1},
    {FailingFileAccess::Step::Seek, 2, "Error seeking in file. FILE CORRUPTED.", 2},
    {FailingFileAccess::Step::Seek, 3, "Error seeking in file. FILE CORRUPTED.", 3},
    {FailingFileAccess::Step::Seek, 4, "Error seeking in file. FILE CORRUPTED.", 4},
    {FailingFileAccess::Step::Write, 0, "Error writing to file. File may be damaged.", 0},
    {FailingFileAccess::Step::Write, 1, "Error writing to file. FILE CORRUPTED.", 1},
    {FailingFileAccess::Step::Write, 2, "Error writing to file. FILE CORRUPTED.", 2},
    {FailingFileAccess::Step::Write, 3, "Error writing to file. FILE CORRUPTED.", 3},
    {FailingFileAccess::Step::Write, 4, "Error writing to file. FILE CORRUPTED.", 4},
    // The last byte not reaching the file is that record's write failing, never a success.
    {FailingFileAccess::Step::Flush, 0, "Error writing to file. FILE CORRUPTED.", -1},
};

TEST(WritePatch, EveryFailureIsReportedOnceWithTheFileStillOpen)
{
    TempDir dir("failures");
    const FixtureRelease& release = SoundFixture();
    const Catalogue catalogue = BuiltInPlusFixtures();
    const std::string path = dir.File("Target.exe");

    for (bool fromPatched : {false, true}) {
        const KnownFile& entry = *FixtureEntry(catalogue, release, fromPatched);
        const Bytes& start = fromPatched ? release.patched : release.shipped;
        for (const FailureRow& row : failureTable) {
            SCOPED_TRACE(std::string(row.text) + " at record " + std::to_string(row.index) +
                         (fromPatched ? ", unpatching" : ", patching"));
            WriteBytes(path, start);
            FailingFileAccess files(row.step, row.index);
            Reports reports;
            reports.files = &files;

            const char* result = WritePatch(path.c_str(), entry, Reports::Record, &reports, files);

            ASSERT_NE(result, nullptr);
            EXPECT_STREQ(result, row.text);
            ASSERT_EQ(reports.texts.size(), 1u);
            EXPECT_EQ(reports.texts[0], row.text);
            const bool opened = row.step != FailingFileAccess::Step::Open;
            EXPECT_EQ(reports.openFilesAtReport[0], opened ? 1 : 0);
            EXPECT_EQ(files.openFiles, 0);
            EXPECT_EQ(files.closes, opened ? 1 : 0);
            EXPECT_TRUE(files.openedForUpdate);
            if (row.recordsOnDisk >= 0) {
                Bytes expected = start;
                for (int i = 0; i < row.recordsOnDisk; ++i) {
                    const PatchByte& r = entry.records[i];
                    expected[static_cast<std::size_t>(r.byteOffset)] = fromPatched ? r.shippedValue : r.patchedValue;
                }
                EXPECT_EQ(ReadBytes(path), expected);
            }
            // A file left between the two states is recognised as neither.
            if (row.recordsOnDisk > 0) {
                EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).outcome, Outcome::Unrecognised);
            } else if (row.recordsOnDisk == 0) {
                EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).match, &entry);
            }
        }
    }
}

TEST(WritePatch, RealStreamsRefuseWhatTheyCannotWrite)
{
    TempDir dir("refuse");
    const FixtureRelease& release = SoundFixture();
    const Catalogue catalogue = BuiltInPlusFixtures();
    const KnownFile& shipped = *FixtureEntry(catalogue, release, false);

    // No file, or a directory: nothing is created and nothing is written.
    for (const std::string& path : {dir.File("missing.exe"), dir.path.string()}) {
        Reports reports;
        EXPECT_STREQ(WritePatch(path.c_str(), shipped, Reports::Record, &reports), "Could not open file.");
        EXPECT_EQ(reports.texts.size(), 1u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.exe")));

    // Records past the end of the file never lengthen it.
    const std::string shortFile = dir.File("short.exe");
    const Bytes head(release.shipped.begin(), release.shipped.begin() + 0x100);
    WriteBytes(shortFile, head);
    Reports reports;
    EXPECT_STREQ(WritePatch(shortFile.c_str(), shipped, Reports::Record, &reports),
                 "Error seeking in file. No changes made.");
    EXPECT_EQ(ReadBytes(shortFile), head);

    const Bytes cut(release.shipped.begin(), release.shipped.begin() + 0x14B);   // ends before record 4
    WriteBytes(shortFile, cut);
    EXPECT_STREQ(WritePatch(shortFile.c_str(), shipped, Reports::Record, &reports),
                 "Error seeking in file. FILE CORRUPTED.");
    Bytes expected = cut;
    for (int i = 0; i < 3; ++i)
        expected[static_cast<std::size_t>(shipped.records[i].byteOffset)] = shipped.records[i].patchedValue;
    EXPECT_EQ(ReadBytes(shortFile), expected);
    EXPECT_EQ(reports.texts.size(), 2u);
}

// The torn fixture's second record lies before the start of the file: the first byte is
// written, then the real stream refuses the seek.
TEST(WritePatch, TornReleaseIsCorruptedAfterItsFirstRecord)
{
    TempDir dir("torn");
    const FixtureRelease& release = TornFixture();
    const Catalogue catalogue = BuiltInPlusFixtures();
    const std::string path = dir.File("Torn.exe");
    WriteBytes(path, release.shipped);
    Identification before = IdentifyFile(path.c_str(), catalogue);
    ASSERT_EQ(before.outcome, Outcome::Matched);
    Reports reports;
    EXPECT_STREQ(WritePatch(path.c_str(), *before.match, Reports::Record, &reports),
                 "Error seeking in file. FILE CORRUPTED.");
    Bytes expected = release.shipped;
    expected[static_cast<std::size_t>(release.records[0].byteOffset)] = release.records[0].patchedValue;
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(IdentifyFile(path.c_str(), catalogue).outcome, Outcome::Unrecognised);
}

}  // namespace
