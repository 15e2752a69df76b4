#include "bounded_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A destination inside a larger buffer of guard bytes, to see every byte written.
struct Guarded {
    char bytes[32];
    Guarded() { std::memset(bytes, '#', sizeof(bytes)); }
    char* at() { return bytes + 8; }
    bool untouchedFrom(int offset) const {
        for (int i = 8 + offset; i < static_cast<int>(sizeof(bytes)); ++i)
            if (bytes[i] != '#') return false;
        for (int i = 0; i < 8; ++i)
            if (bytes[i] != '#') return false;
        return true;
    }
};

TEST(FormatBounded, KeepsWhatFitsAndAlwaysTerminates) {
    struct Case {
        unsigned size;
        const char* expected;
        int result;
    } cases[] = {
        {16, "Kelvara 1.0.0.4", 15},   // exactly fits with its terminator
        {15, "Kelvara 1.0.0.", 14},    // one short: cut, terminated at size - 1
        {8, "Kelvara", 7},
        {1, "", 0},
    };
    for (const Case& c : cases) {
        Guarded g;
        int written = FormatBounded(g.at(), c.size, "%s %d.%d.%d.%d", "Kelvara", 1, 0, 0, 4);
        EXPECT_EQ(written, c.result) << "size " << c.size;
        EXPECT_STREQ(g.at(), c.expected) << "size " << c.size;
        EXPECT_TRUE(g.untouchedFrom(static_cast<int>(c.size))) << "wrote past size " << c.size;
    }
}

TEST(FormatBounded, SizeZeroWritesNothing) {
    Guarded g;
    EXPECT_EQ(FormatBounded(g.at(), 0, "%d", 12345), 0);
    EXPECT_TRUE(g.untouchedFrom(0));
}

int ThroughList(char* destination, unsigned size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = FormatBoundedV(destination, size, format, args);
    va_end(args);
    return written;
}

TEST(FormatBounded, ListFormDoesTheSameWork) {
    char out[6];
    EXPECT_EQ(ThroughList(out, sizeof(out), "%02x%02x%02x%02x", 4, 9, 4, 0xb0), 5);
    EXPECT_STREQ(out, "04090");
}

TEST(CopyBounded, CopiesUpToSizeMinusOne) {
    struct Case {
        const char* source;
        int size;
        const char* expected;
        int result;
    } cases[] = {
        {"C:\\Pronto", 1, "", 0},             // room for the terminator only
        {"C:", 10, "C:", 2},                  // shorter source: copied whole
        {"C:\\Pronto\\x.exe", 10, "C:\\Pronto", 9},
        {"", 4, "", 0},
        {"abc", 4, "abc", 3},                 // exactly fits
    };
    for (const Case& c : cases) {
        Guarded g;
        EXPECT_EQ(CopyBounded(g.at(), c.source, c.size), c.result) << c.source << " / " << c.size;
        EXPECT_STREQ(g.at(), c.expected);
        EXPECT_TRUE(g.untouchedFrom(c.size)) << c.source << " / " << c.size;
    }
}

TEST(CopyBounded, SizeZeroOrNegativeWritesNothing) {
    for (int size : {0, -1, -100}) {
        Guarded g;
        EXPECT_EQ(CopyBounded(g.at(), "text", size), 0);
        EXPECT_TRUE(g.untouchedFrom(0)) << size;
    }
}

}  // namespace
