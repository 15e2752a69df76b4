#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue_file.h"
#include "kelvara_cli.h"
#include "target_fixture.h"
#include "temp_files.h"

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Kelvara(const std::vector<std::string>& args, FileAccess& files = StandardFileAccess())
{
    std::ostringstream out, err;
    const int code = RunKelvara(args, out, err, files);
    return {code, out.str(), err.str()};
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Arguments, CommandsOptionsAndUsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        Command command;
        bool ok;
    };
    const Case cases[] = {
        {{"identify", "a", "b"}, Command::Identify, true},
        {{"--json", "patch", "a"}, Command::Patch, true},
        {{"unpatch", "--catalogue", "c.txt", "a"}, Command::Unpatch, true},
        {{"list", "--catalogue=c.txt", "--catalogue", "d.txt"}, Command::List, true},
        {{"identify", "--", "--json"}, Command::Identify, true},   // a file named --json
        {{"identify", "-"}, Command::Identify, true},
        {{"--help", "anything"}, Command::Help, true},
        {{"--version"}, Command::Version, true},
        {{}, Command::None, false},
        {{"identify"}, Command::Identify, false},
        {{"patch", "a", "b"}, Command::Patch, false},
        {{"unpatch"}, Command::Unpatch, false},
        {{"list", "a"}, Command::List, false},
        {{"frobnicate", "a"}, Command::None, false},
        {{"identify", "a", "--catalogue"}, Command::Identify, false},
        {{"identify", "a", "--jsn"}, Command::Identify, false},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        Options options;
        std::string error;
        EXPECT_EQ(ParseArguments(c.args, options, error), c.ok) << error;
        EXPECT_EQ(error.empty(), c.ok);
        if (c.ok) {
            EXPECT_EQ(options.command, c.command);
        } else {
            EXPECT_EQ(Kelvara(c.args).code, exitUsage);
        }
    }
    Options options;
    std::string error;
    ASSERT_TRUE(ParseArguments({"--catalogue", "x", "identify", "--json", "--", "--catalogue"}, options, error));
    EXPECT_TRUE(options.json);
    EXPECT_EQ(options.catalogueFiles, std::vector<std::string>{"x"});
    EXPECT_EQ(options.files, std::vector<std::string>{"--catalogue"});
}

TEST(Arguments, HelpListsEveryExitCode)
{
    const Result help = Kelvara({"--help"});
    EXPECT_EQ(help.code, 0);
    for (int code = exitSuccess; code <= exitBadCatalogue; ++code)
        EXPECT_TRUE(Contains(help.out, "\n  " + std::to_string(code) + "  ")) << code;
    EXPECT_EQ(Kelvara({"--version"}).out, "kelvara " KELVARA_VERSION "\n");
}

TEST(CatalogueLine, AcceptsTheFormatWithCommentsEscapesAndAnyCase)
{
    AddedReleases releases;
    std::string error;
    for (const char* blank : {"", "   ", "\t", "# a comment", "   # indented comment"}) {
        EXPECT_TRUE(ParseCatalogueLine(blank, releases, error)) << blank;
    }
    EXPECT_TRUE(releases.empty());

    ASSERT_TRUE(ParseCatalogueLine(
        "  \"My \\\"Edit\\\" \\\\ 3\"\t00112233445566778899AABBCCDDEEFF ffeeddccbbaa99887766554433221100 "
        "0x148:F1/00 151:0x40/0 0X7FFFFFFF:9c/10 # why not",
        releases, error)) << error;
    ASSERT_EQ(releases.size(), 1u);
    const AddedRelease& release = releases.front();
    EXPECT_EQ(release.name, "My \"Edit\" \\ 3");
    EXPECT_EQ(Hex(release.patchedDigest), "00112233445566778899aabbccddeeff");
    EXPECT_EQ(Hex(release.shippedDigest), "ffeeddccbbaa99887766554433221100");
    ASSERT_EQ(release.records.size(), 3u);
    EXPECT_EQ(release.records[0].byteOffset, 0x148);
    EXPECT_EQ(release.records[0].patchedValue, 0xF1);
    EXPECT_EQ(release.records[0].shippedValue, 0x00);
    EXPECT_EQ(release.records[1].byteOffset, 0x151);
    EXPECT_EQ(release.records[1].patchedValue, 0x40);
    EXPECT_EQ(release.records[2].byteOffset, 0x7FFFFFFF);
    EXPECT_EQ(release.records[2].patchedValue, 0x9C);
    EXPECT_EQ(release.records[2].shippedValue, 0x10);
}

TEST(CatalogueLine, RejectsMalformedLinesSayingWhatIsWrong)
{
    const std::string p = "00112233445566778899aabbccddeeff", s = "ffeeddccbbaa99887766554433221100";
    std::string sixteen, seventeen;
    for (int i = 0; i < 17; ++i) {
        const std::string record = " 0x" + std::to_string(100 + i) + ":01/00";
        if (i < 16)
            sixteen += record;
        seventeen += record;
    }
    struct Case {
        std::string line;
        std::string what;   // empty: accepted
    };
    const Case cases[] = {
        {"Name " + p + " " + s + " 0x148:F1/00", "expected the release name in double quotes"},
        {"\"Name " + p + " " + s + " 0x148:F1/00", "no closing double quote"},
        {"\"\" " + p + " " + s + " 0x148:F1/00", "the release name is empty"},
        {"\"Na\\me\" " + p + " " + s + " 0x148:F1/00", "a backslash must be followed by"},
        {"\"Na\x01me\" " + p + " " + s + " 0x148:F1/00", "control character"},
        {"\"Name\"" + p + " " + s + " 0x148:F1/00", "expected a space after the release name"},
        {"\"Name\"", "expected the patched file's MD5"},
        {"\"Name\" " + p.substr(1) + " " + s + " 0x148:F1/00", "found '" + p.substr(1) + "'"},
        {"\"Name\" " + p.substr(1) + "g " + s + " 0x148:F1/00", "expected the patched file's MD5"},
        {"\"Name\" " + p, "expected the shipped file's MD5"},
        {"\"Name\" " + p + " " + s + "0 0x148:F1/00", "expected the shipped file's MD5"},
        {"\"Name\" " + p + " " + p + " 0x148:F1/00", "the patched and shipped MD5 are the same"},
        {"\"Name\" " + p + " " + s, "expected 1 to 16 patch records, found 0"},
        {"\"Name\" " + p + " " + s + " # records commented out 0x148:F1/00", "found 0"},
        {"\"Name\" " + p + " " + s + sixteen, ""},
        {"\"Name\" " + p + " " + s + seventeen, "expected 1 to 16 patch records, found 17"},
        {"\"Name\" " + p + " " + s + " 0x148F1/00", "record 1 '0x148F1/00': expected OFFSET:PATCHED/SHIPPED"},
        {"\"Name\" " + p + " " + s + " 0x148:F1:00", "record 1"},
        {"\"Name\" " + p + " " + s + " :F1/00", "record 1"},
        {"\"Name\" " + p + " " + s + " 0x:F1/00", "record 1"},
        {"\"Name\" " + p + " " + s + " -1:F1/00", "record 1"},
        {"\"Name\" " + p + " " + s + " 0x148:F1/", "record 1"},
        {"\"Name\" " + p + " " + s + " 0x148:G1/00", "record 1"},
        {"\"Name\" " + p + " " + s + " 0x10:01/00 0x80000000:F1/00", "record 2: offset 0x80000000 is too large"},
        {"\"Name\" " + p + " " + s + " 0x148:100/00", "record 1: a byte value is above FF"},
        {"\"Name\" " + p + " " + s + " 0x148:F1/F1", "record 1: the patched and shipped values are the same"},
        {"\"Name\" " + p + " " + s + " 0x148:F1/00 0x149:18/00 0x148:0F/00", "record 3: offset 0x148 appears twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        AddedReleases releases;
        std::string error;
        const bool accepted = ParseCatalogueLine(c.line, releases, error);
        if (c.what.empty()) {
            EXPECT_TRUE(accepted) << error;
            EXPECT_EQ(releases.size(), 1u);
        } else {
            EXPECT_FALSE(accepted);
            EXPECT_TRUE(Contains(error, c.what)) << error;
            EXPECT_TRUE(releases.empty());
        }
    }
}

TEST(CatalogueFile, NamesFileAndLineAndAddsNothingFromABadFile)
{
    TempDir dir("catalogue");
    const std::string good = dir.File("good.txt");
    const std::string p = "00112233445566778899aabbccddeeff", s = "ffeeddccbbaa99887766554433221100";
    // A byte-order mark, CRLF endings and no final line break are all taken as written.
    WriteBytes(good, BytesOf("\xEF\xBB\xBF# made by hand\r\n\r\n\"One\" " + p + " " + s + " 0x10:01/00\r\n\"Two\" " +
                             s + " " + p + " 0x20:02/00"));
    AddedReleases releases;
    std::string error;
    ASSERT_TRUE(ReadCatalogueFile(good, releases, error)) << error;
    ASSERT_EQ(releases.size(), 2u);
    EXPECT_EQ(releases.front().name, "One");
    EXPECT_EQ(releases.back().name, "Two");

    const std::string bad = dir.File("bad.txt");
    WriteBytes(bad, BytesOf("# first\n\"Three\" " + p + " " + s + " 0x10:01/00\n\n\"Four\" " + p + " " + s + " 0x10:01\n"));
    EXPECT_FALSE(ReadCatalogueFile(bad, releases, error));
    EXPECT_EQ(error, bad + ":4: record 1 '0x10:01': expected OFFSET:PATCHED/SHIPPED in hexadecimal, such as 0x148:F1/00");
    EXPECT_EQ(releases.size(), 2u);   // "Three" was not kept either

    EXPECT_FALSE(ReadCatalogueFile(dir.File("missing.txt"), releases, error));
    EXPECT_EQ(error, dir.File("missing.txt") + ": cannot open the catalogue file");
    EXPECT_FALSE(ReadCatalogueFile(dir.path.string(), releases, error));
    EXPECT_TRUE(Contains(error, dir.path.string() + ": cannot")) << error;
    EXPECT_EQ(releases.size(), 2u);
}

TEST(CatalogueFile, ListOutputReadsBackAsTheBuiltInCatalogue)
{
    TempDir dir("list");
    const Result list = Kelvara({"list"});
    ASSERT_EQ(list.code, 0);
    const std::string path = dir.File("list.txt");
    WriteBytes(path, BytesOf(list.out));
    AddedReleases releases;
    std::string error;
    ASSERT_TRUE(ReadCatalogueFile(path, releases, error)) << error;
    Catalogue builtIn, readBack;
    BuildCatalogue(builtIn);
    AppendReleases(releases, readBack);
    ASSERT_EQ(readBack.size(), builtIn.size());
    for (auto a = builtIn.begin(), b = readBack.begin(); a != builtIn.end(); ++a, ++b) {
        EXPECT_STREQ(a->displayName, b->displayName);
        EXPECT_EQ(a->isPatched, b->isPatched);
        EXPECT_EQ(Hex(a->digest), Hex(b->digest));
        ASSERT_EQ(a->recordCount, b->recordCount);
        for (int i = 0; i < a->recordCount; ++i) {
            EXPECT_EQ(a->records[i].byteOffset, b->records[i].byteOffset);
            EXPECT_EQ(a->records[i].patchedValue, b->records[i].patchedValue);
            EXPECT_EQ(a->records[i].shippedValue, b->records[i].shippedValue);
        }
    }
    EXPECT_TRUE(Contains(list.out, "\n\"ProntoEdit 2.0\" 77e58bf1a91bcf58c8e2af3a68cb2acf 5175ac90317c7fdbe64d6a85cf098bc4 "
                                   "0x148:F1/00 0x149:18/00 0x14A:0F/00 0x151:40/00 0x152:9C/10\n"));
    // Entries of an added catalogue follow, and a name with quotes survives the round trip.
    WriteBytes(path, BytesOf("\"Say \\\"hi\\\"\" 00112233445566778899aabbccddeeff ffeeddccbbaa99887766554433221100 0x1:02/03\n"));
    const Result extended = Kelvara({"--catalogue", path, "list"});
    EXPECT_EQ(extended.out, list.out + "\"Say \\\"hi\\\"\" 00112233445566778899aabbccddeeff "
                                       "ffeeddccbbaa99887766554433221100 0x1:02/03\n");
}

TEST(Output, TextAndJsonForEachOutcome)
{
    const FixtureRelease& release = SoundFixture();
    const KnownFile entry{release.patchedDigest, "Edit \"7\"", 1, release.records, 5};
    Identification matched{Outcome::Matched, &entry, {}};
    std::memcpy(matched.digest, release.patchedDigest, 16);
    Identification unknown{Outcome::Unrecognised, nullptr, {0xd4, 0x1d, 0x8c, 0xd9, 0x8f, 0x00, 0xb2, 0x04,
                                                             0xe9, 0x80, 0x09, 0x98, 0xec, 0xf8, 0x42, 0x7e}};
    Identification closed{Outcome::CannotOpen, nullptr, {}};

    EXPECT_EQ(IdentificationText("a.exe", matched), "a.exe\n  Recognised as: Edit \"7\"\n  Patch status:  Patched\n"
                                                    "  MD5:           " + Hex(release.patchedDigest) + "\n");
    EXPECT_EQ(IdentificationText("b", unknown),
              "b\n  Recognised as: Unrecognised file.\n  MD5:           d41d8cd98f00b204e9800998ecf8427e\n");
    EXPECT_EQ(IdentificationText("c", closed), "c\n  Recognised as: Could not open file.\n");

    EXPECT_EQ(IdentificationJson(matched), "{\"outcome\": \"matched\", \"text\": \"Edit \\\"7\\\"\", \"status\": \"Patched\", "
                                           "\"release\": \"Edit \\\"7\\\"\", \"patched\": true, \"md5\": \"" +
                                               Hex(release.patchedDigest) + "\"}");
    EXPECT_EQ(IdentificationJson(closed), "{\"outcome\": \"cannot-open\", \"text\": \"Could not open file.\", "
                                          "\"status\": \"\", \"release\": null, \"patched\": null, \"md5\": null}");
    EXPECT_EQ(JsonString("C:\\dir\\\"x\"\n\t\x01\xE9"), "\"C:\\\\dir\\\\\\\"x\\\"\\n\\t\\u0001\xE9\"");
}

// Failing the real streams at one step, as in the engine's tests.
class RefusingFileAccess : public FileAccess {
public:
    RefusingFileAccess(bool refuseUpdate, int failSeekAt) : refuseUpdate(refuseUpdate), failSeekAt(failSeekAt) {}
    File* Open(const char* path, bool forUpdate) override
    {
        return forUpdate && refuseUpdate ? nullptr : real.Open(path, forUpdate);
    }
    std::size_t Read(File* f, void* b, std::size_t n) override { return real.Read(f, b, n); }
    bool ReadFailed(File* f) override { return real.ReadFailed(f); }
    bool Seek(File* f, std::int32_t offset) override { return seeks++ != failSeekAt && real.Seek(f, offset); }
    bool WriteByte(File* f, std::uint8_t v) override { return real.WriteByte(f, v); }
    bool Flush(File* f) override { return real.Flush(f); }
    void Close(File* f) override { real.Close(f); }

    FileAccess& real = StandardFileAccess();
    bool refuseUpdate;
    int failSeekAt;
    int seeks = 0;
};

std::string CatalogueLineFor(const FixtureRelease& release)
{
    Catalogue catalogue;
    catalogue.push_back({release.patchedDigest, release.name, 1, release.records, release.recordCount});
    catalogue.push_back({release.shippedDigest, release.name, 0, release.records, release.recordCount});
    return FormatCatalogue(catalogue);
}

TEST(Commands, WriteFailuresAndReadOnlyFilesGetTheirOwnExitCodes)
{
    TempDir dir("commands");
    const FixtureRelease& release = SoundFixture();
    const std::string catalogue = dir.File("fixture.txt"), target = dir.File("Target.exe");
    WriteBytes(catalogue, BytesOf(CatalogueLineFor(release)));

    // Read-only: identified, but opening for update fails; nothing written.
    WriteBytes(target, release.shipped);
    RefusingFileAccess readOnly(true, -1);
    Result r = Kelvara({"--catalogue", catalogue, "patch", target}, readOnly);
    EXPECT_EQ(r.code, exitCannotOpen);
    EXPECT_EQ(r.err, "kelvara: " + target + ": Could not open file.\n");
    EXPECT_TRUE(Contains(r.out, "Patch status:  Original"));
    EXPECT_EQ(ReadBytes(target), release.shipped);

    // A seek failing at the third record leaves the file in neither state.
    RefusingFileAccess seekFails(false, 2);
    r = Kelvara({"--catalogue", catalogue, "patch", target}, seekFails);
    EXPECT_EQ(r.code, exitWriteFailed);
    EXPECT_EQ(r.err, "kelvara: " + target + ": Error seeking in file. FILE CORRUPTED.\n");
    EXPECT_TRUE(Contains(r.out, "Recognised as: Unrecognised file."));

    WriteBytes(target, release.patched);
    RefusingFileAccess firstSeekFails(false, 0);
    r = Kelvara({"--json", "--catalogue", catalogue, "unpatch", target}, firstSeekFails);
    EXPECT_EQ(r.code, exitWriteFailed);
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_TRUE(Contains(r.out, "\"result\": \"write-failed\", \"message\": \"Error seeking in file. No changes made.\""));
    EXPECT_TRUE(Contains(r.out, "\"after\": {\"outcome\": \"matched\""));
    EXPECT_EQ(ReadBytes(target), release.patched);
}

TEST(Commands, IdentifyExitsWithTheWorstOutcome)
{
    TempDir dir("worst");
    const FixtureRelease& release = SoundFixture();
    const std::string catalogue = dir.File("fixture.txt");
    WriteBytes(catalogue, BytesOf(CatalogueLineFor(release)));
    WriteBytes(dir.File("shipped.exe"), release.shipped);
    WriteBytes(dir.File("other.exe"), {1, 2, 3});
    const std::string shipped = dir.File("shipped.exe"), other = dir.File("other.exe"), missing = dir.File("none");
    EXPECT_EQ(Kelvara({"--catalogue", catalogue, "identify", shipped}).code, exitSuccess);
    EXPECT_EQ(Kelvara({"--catalogue", catalogue, "identify", shipped, other}).code, exitUnrecognisedOrWrongState);
    EXPECT_EQ(Kelvara({"--catalogue", catalogue, "identify", missing, shipped, other}).code, exitCannotOpen);
    EXPECT_EQ(Kelvara({"identify", shipped}).code, exitUnrecognisedOrWrongState);   // not without its catalogue
}

}  // namespace
