#include "version_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct Freed {
    void operator()(char* p) const { std::free(p); }
};
using Owned = std::unique_ptr<char, Freed>;

TEST(DottedVersion, FromFileVersionTexts) {
    struct Case {
        const char* fileVersion;
        const char* expected;   // null: none
    } cases[] = {
        {"1, 0, 0, 4", "1.0.0.4"},
        {"3,1,2", "3.1.2.0"},
        {"2, 5", "2.5.0.0"},
        {"7", "7.0.0.0"},              // one number: still whole
        {"  12,34, 56 ,78", "12.34.56.0"},   // blanks before a number only, not before a comma
        {"1, 0, 0, 4, 9", "1.0.0.4"},  // a fifth number is not read
        {"1, x, 3", "1.0.0.0"},        // the scan stops at what does not fit
        {"v1.0", nullptr},             // starts with no number
        {"", nullptr},                 // end of input before any number
        {nullptr, nullptr},
    };
    for (const Case& c : cases) {
        Owned dotted(DottedVersion(c.fileVersion));
        if (!c.expected) {
            EXPECT_EQ(dotted, nullptr) << (c.fileVersion ? c.fileVersion : "(null)");
        } else {
            ASSERT_NE(dotted, nullptr) << c.fileVersion;
            EXPECT_STREQ(dotted.get(), c.expected);
        }
    }
}

TEST(DottedVersion, BufferIsTextLengthPlusFiveUnlessTheNumbersNeedMore) {
    int ours[4] = {1, 0, 0, 4};
    EXPECT_EQ(DottedVersionSize(std::strlen("1, 0, 0, 4"), ours), 15u);
    int single[4] = {7, 0, 0, 0};
    // "7" + 5 would be 6 bytes, which cut "7.0.0.0" (8 bytes with its terminator).
    EXPECT_EQ(DottedVersionSize(1, single), 8u);
    int widest[4] = {-2147483647 - 1, -2147483647 - 1, -2147483647 - 1, -2147483647 - 1};
    Owned dotted(DottedVersion("-2147483648"));
    ASSERT_NE(dotted, nullptr);
    EXPECT_STREQ(dotted.get(), "-2147483648.0.0.0");
    EXPECT_EQ(DottedVersionSize(11, widest), 48u);
}

TEST(ScanFileVersion, MissingNumbersAreZero) {
    int n[4] = {9, 9, 9, 9};
    ASSERT_TRUE(ScanFileVersion("3, 1", n));
    EXPECT_EQ(n[0], 3);
    EXPECT_EQ(n[1], 1);
    EXPECT_EQ(n[2], 0);
    EXPECT_EQ(n[3], 0);
    EXPECT_FALSE(ScanFileVersion(", 1", n));
}

}  // namespace
