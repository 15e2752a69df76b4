// The real `kelvara` binary, run as a user would, on files the test makes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "target_fixture.h"
#include "temp_files.h"

extern char** environ;

namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Kelvara(const TempDir& dir, const std::vector<std::string>& args)
{
    const std::string outPath = dir.File(".stdout"), errPath = dir.File(".stderr");
    std::vector<std::string> all{KELVARA_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {-1, "", "could not start " KELVARA_BINARY};
    int status = 0;
    waitpid(pid, &status, 0);
    const Bytes out = ReadBytes(outPath), err = ReadBytes(errPath);
    // A crash is never an outcome: report it as code -2.
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -2, std::string(out.begin(), out.end()),
            std::string(err.begin(), err.end())};
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string CatalogueLine(const FixtureRelease& release)
{
    std::string line = std::string("\"") + release.name + "\" " + Hex(release.patchedDigest) + " " +
                       Hex(release.shippedDigest);
    for (std::int32_t i = 0; i < release.recordCount; ++i) {
        char record[32];
        std::snprintf(record, sizeof record, " 0x%X:%02X/%02X", static_cast<unsigned>(release.records[i].byteOffset),
                      release.records[i].patchedValue, release.records[i].shippedValue);
        line += record;
    }
    return line + "\n";
}

class KelvaraCommand : public testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(catalogue, BytesOf("# made by the test\n" + CatalogueLine(release)));
        WriteBytes(target, release.shipped);
    }

    Result Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--catalogue", catalogue});
        return Kelvara(dir, args);
    }

    TempDir dir{"e2e"};
    const FixtureRelease& release = SoundFixture();
    const std::string catalogue = dir.File("test catalogue.txt");
    const std::string target = dir.File("Pronto Edit.exe");
};

TEST_F(KelvaraCommand, ShippedFileGoesOriginalPatchedOriginal)
{
    Result r = Run({"identify", target});
    EXPECT_EQ(r.code, 0) << r.err;
    const std::string name = release.name;
    EXPECT_EQ(r.out, target + "\n  Recognised as: " + name + "\n  Patch status:  Original\n  MD5:           " +
                         Hex(release.shippedDigest) + "\n");

    r = Run({"patch", target});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(r.out, "Patched " + name + ".\n" + target + "\n  Recognised as: " + name +
                         "\n  Patch status:  Patched\n  MD5:           " +
                         Hex(release.patchedDigest) + "\n");
    const Bytes patched = ReadBytes(target);
    ASSERT_EQ(patched.size(), release.shipped.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < patched.size(); ++i)
        if (patched[i] != release.shipped[i])
            changed.push_back(i);
    EXPECT_EQ(changed, (std::vector<std::size_t>{0x148, 0x149, 0x14A, 0x151, 0x152}));
    EXPECT_EQ(patched, release.patched);

    r = Run({"identify", target});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(Contains(r.out, "Patch status:  Patched\n"));

    r = Run({"--json", "unpatch", target});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "\"result\": \"unpatched\""));
    EXPECT_TRUE(Contains(r.out, "\"after\": {\"outcome\": \"matched\", \"text\": \"" + name + "\", \"status\": \"Original\""));
    EXPECT_EQ(ReadBytes(target), release.shipped);

    r = Run({"identify", target});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(Contains(r.out, "Patch status:  Original\n"));
}

TEST_F(KelvaraCommand, WrongStateAndUnrecognisedFilesAreLeftAlone)
{
    Result r = Run({"unpatch", target});
    EXPECT_EQ(r.code, 1);
    const std::string name = release.name;
    EXPECT_EQ(r.err, "kelvara: " + target + ": " + name + " is not patched. Nothing written.\n");
    EXPECT_EQ(ReadBytes(target), release.shipped);

    WriteBytes(target, release.patched);
    r = Run({"patch", target});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "kelvara: " + target + ": " + name + " is already patched. Nothing written.\n");
    EXPECT_EQ(ReadBytes(target), release.patched);

    Bytes other = release.shipped;
    other[4000] ^= 0xFF;
    WriteBytes(target, other);
    for (const char* command : {"patch", "unpatch"}) {
        r = Run({command, target});
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_EQ(r.err, "kelvara: " + target + ": Unrecognised file. (MD5 " + Hex(DigestOf(other).bytes) +
                             ") Nothing written.\n");
        EXPECT_EQ(ReadBytes(target), other);
    }

    // Without the test's catalogue the fixture is just another file.
    r = Kelvara(dir, {"identify", target});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.out, "Recognised as: Unrecognised file.\n"));

    WriteBytes(dir.File("empty.exe"), {});
    r = Run({"identify", dir.File("empty.exe")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.out, "MD5:           d41d8cd98f00b204e9800998ecf8427e\n"));
    r = Run({"patch", dir.File("empty.exe")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(ReadBytes(dir.File("empty.exe")).empty());
}

TEST_F(KelvaraCommand, MissingPathsAndDirectoriesCannotBeOpened)
{
    const std::string missing = dir.File("missing.exe");
    for (const std::string& path : {missing, dir.path.string()}) {
        Result r = Run({"identify", path});
        EXPECT_EQ(r.code, 2) << path;
        EXPECT_EQ(r.out, path + "\n  Recognised as: Could not open file.\n");
        for (const char* command : {"patch", "unpatch"}) {
            r = Run({command, path});
            EXPECT_EQ(r.code, 2) << command << " " << path;
            EXPECT_EQ(r.err, "kelvara: " + path + ": Could not open file. Nothing written.\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    Result r = Run({"identify", target, missing});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(Contains(r.out, "Patch status:  Original\n"));
}

TEST_F(KelvaraCommand, MalformedCatalogueStopsBeforeAnyFileIsTouched)
{
    const std::string bad = dir.File("bad.txt");
    WriteBytes(bad, BytesOf(CatalogueLine(release) + "\n\"Broken\" 0123 " + Hex(release.shippedDigest) + " 0x10:01/00\n"));
    for (const char* command : {"identify", "patch", "unpatch"}) {
        Result r = Kelvara(dir, {"--catalogue", bad, command, target});
        EXPECT_EQ(r.code, 5) << command;
        EXPECT_EQ(r.err, "kelvara: " + bad + ":3: expected the patched file's MD5 (32 hexadecimal digits), found '0123'\n");
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(ReadBytes(target), release.shipped);
    Result r = Kelvara(dir, {"--catalogue", dir.File("absent.txt"), "patch", target});
    EXPECT_EQ(r.code, 5);
    EXPECT_EQ(r.err, "kelvara: " + dir.File("absent.txt") + ": cannot open the catalogue file\n");
    EXPECT_EQ(ReadBytes(target), release.shipped);
}

TEST_F(KelvaraCommand, UsageErrorsListAndVersion)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"patch"}, {"patch", target, target}, {"--bogus", "identify", target}, {"explode"}}) {
        Result r = Kelvara(dir, args);
        EXPECT_EQ(r.code, 4);
        EXPECT_TRUE(Contains(r.err, "Try 'kelvara --help'.")) << r.err;
    }
    EXPECT_EQ(ReadBytes(target), release.shipped);

    Result help = Kelvara(dir, {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(Contains(help.out, "Exit codes:"));

    // list's output is a catalogue file: read back, it changes nothing but the count.
    Result list = Run({"list"});
    EXPECT_EQ(list.code, 0);
    EXPECT_TRUE(Contains(list.out, CatalogueLine(release)));
    WriteBytes(dir.File("listed.txt"), BytesOf(list.out));
    Result again = Kelvara(dir, {"--catalogue", dir.File("listed.txt"), "identify", target});
    EXPECT_EQ(again.code, 0) << again.err;
}

}  // namespace
