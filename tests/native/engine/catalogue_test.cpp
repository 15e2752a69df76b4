#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "catalogue.h"
#include "temp_files.h"

namespace {

struct Row {
    const char* name;
    int isPatched;
    const char* digest;
};

const Row table[] = {
    {"ProntoEdit 2.0", 1, "77e58bf1a91bcf58c8e2af3a68cb2acf"},
    {"ProntoEdit 2.0", 0, "5175ac90317c7fdbe64d6a85cf098bc4"},
    {"ProntoEdit 1.05", 1, "0792148561ed2325d96f950a520c6651"},
    {"ProntoEdit 1.05", 0, "3d22491893c3e1d96229a45e853cd063"},
    {"RC5000 Setup 2.0", 1, "c2b2a080f8503dd04255e0e1807e5f45"},
    {"RC5000 Setup 2.0", 0, "a98ad15a3d3a3b0e3808d2f22e5364e9"},
    {"RC5000 Setup 2.2", 1, "6b452a7dc731929f32df9add5e7e808c"},
    {"RC5000 Setup 2.2", 0, "0d281ea702dc143f66a8ac29765427ea"},
    {"RC5000 Setup 2.3", 1, "929335d13cd2feb621931dbe864c6afe"},
    {"RC5000 Setup 2.3", 0, "1525d1c7cadb72b84b4de4cd759af541"},
    {"Touch Screen Setup 1.0.14", 1, "f3a40f97d614145d1a852a5be40bdb58"},
    {"Touch Screen Setup 1.0.14", 0, "b2ee9a52832abb91e1f1b16692a0298c"},
};

// offset: patched / shipped, five per release in table order.
const PatchByte records[6][5] = {
    {{0x148, 0xF1, 0x00}, {0x149, 0x18, 0x00}, {0x14A, 0x0F, 0x00}, {0x151, 0x40, 0x00}, {0x152, 0x9C, 0x10}},
    {{0x150, 0xF5, 0x00}, {0x151, 0xA3, 0x00}, {0x152, 0x0D, 0x00}, {0x159, 0x40, 0x00}, {0x15A, 0x9C, 0x10}},
    {{0x150, 0xEA, 0x00}, {0x151, 0x28, 0x00}, {0x152, 0x12, 0x00}, {0x159, 0x40, 0x00}, {0x15A, 0x9C, 0x10}},
    {{0x150, 0x5C, 0x00}, {0x151, 0xA9, 0x00}, {0x152, 0x12, 0x00}, {0x159, 0x40, 0x00}, {0x15A, 0x9C, 0x10}},
    {{0x150, 0x7B, 0x00}, {0x151, 0xE3, 0x00}, {0x152, 0x10, 0x00}, {0x159, 0x40, 0x00}, {0x15A, 0x9C, 0x10}},
    {{0x148, 0x04, 0x00}, {0x149, 0xAE, 0x00}, {0x14A, 0x15, 0x00}, {0x151, 0x40, 0x00}, {0x152, 0x9C, 0x10}},
};

std::vector<const KnownFile*> Entries(const Catalogue& catalogue)
{
    std::vector<const KnownFile*> entries;
    for (const KnownFile& entry : catalogue)
        entries.push_back(&entry);
    return entries;
}

TEST(Catalogue, HoldsTheTwelveEntriesInTableOrder)
{
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    const auto entries = Entries(catalogue);
    ASSERT_EQ(entries.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const KnownFile& entry = *entries[i];
        EXPECT_STREQ(entry.displayName, table[i].name);
        EXPECT_EQ(entry.isPatched, table[i].isPatched);
        EXPECT_EQ(Hex(entry.digest), table[i].digest);
        ASSERT_EQ(entry.recordCount, 5);
        for (int r = 0; r < 5; ++r) {
            EXPECT_EQ(entry.records[r].byteOffset, records[i / 2][r].byteOffset) << "record " << r;
            EXPECT_EQ(entry.records[r].patchedValue, records[i / 2][r].patchedValue) << "record " << r;
            EXPECT_EQ(entry.records[r].shippedValue, records[i / 2][r].shippedValue) << "record " << r;
        }
    }
}

TEST(Catalogue, ReleasesShareOneNameAndOneRecordArray)
{
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    const auto entries = Entries(catalogue);
    ASSERT_EQ(entries.size(), 12u);
    std::set<std::string> digests;
    std::set<const void*> names, recordArrays;
    for (std::size_t i = 0; i < 12; i += 2) {
        const KnownFile& patched = *entries[i];
        const KnownFile& shipped = *entries[i + 1];
        EXPECT_EQ(patched.displayName, shipped.displayName);   // the same text, not an equal copy
        EXPECT_EQ(patched.records, shipped.records);
        names.insert(patched.displayName);
        recordArrays.insert(patched.records);
    }
    for (const KnownFile* entry : entries)
        digests.insert(Hex(entry->digest));
    EXPECT_EQ(digests.size(), 12u);
    EXPECT_EQ(names.size(), 6u);
    EXPECT_EQ(recordArrays.size(), 6u);
}

TEST(Catalogue, RecordsHaveTheStackReserveShapeAndRoundTrip)
{
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    for (const KnownFile& entry : catalogue) {
        SCOPED_TRACE(entry.displayName);
        const PatchByte* r = entry.records;
        const std::int32_t first = r[0].byteOffset;
        EXPECT_EQ(r[1].byteOffset, first + 1);
        EXPECT_EQ(r[2].byteOffset, first + 2);
        EXPECT_EQ(r[3].byteOffset, first + 9);
        EXPECT_EQ(r[4].byteOffset, first + 10);
        EXPECT_LT(r[4].byteOffset, 0x200);

        Bytes image = PatternBytes(0x200, 99);
        const std::size_t reserve = static_cast<std::size_t>(first) + 8;
        image[reserve] = image[reserve + 3] = 0;   // the bytes of a 1 MiB reserve never written
        for (int i = 0; i < 5; ++i)
            image[static_cast<std::size_t>(r[i].byteOffset)] = r[i].shippedValue;
        const Bytes shipped = image;
        for (int i = 0; i < 5; ++i) {
            EXPECT_NE(r[i].patchedValue, r[i].shippedValue);
            image[static_cast<std::size_t>(r[i].byteOffset)] = r[i].patchedValue;
        }
        EXPECT_NE(image, shipped);
        auto reserveOf = [&](const Bytes& b) {
            return std::uint32_t(b[reserve]) | std::uint32_t(b[reserve + 1]) << 8 |
                   std::uint32_t(b[reserve + 2]) << 16 | std::uint32_t(b[reserve + 3]) << 24;
        };
        EXPECT_EQ(reserveOf(shipped), 0x00100000u);
        EXPECT_EQ(reserveOf(image), 10240000u);
        for (int i = 0; i < 5; ++i)
            image[static_cast<std::size_t>(r[i].byteOffset)] = r[i].shippedValue;
        EXPECT_EQ(image, shipped);
    }
}

TEST(Catalogue, ReleaseEmptiesItAndEntriesStayPut)
{
    Catalogue catalogue;
    BuildCatalogue(catalogue);
    const KnownFile* third = Entries(catalogue)[2];
    catalogue.push_back({third->digest, "Appended", 0, third->records, 5});
    EXPECT_EQ(Entries(catalogue)[2], third);   // appending never moves a remembered match
    ReleaseCatalogue(catalogue);
    EXPECT_TRUE(catalogue.empty());
}

}  // namespace
