#include "framework/cstring.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(CString, BuildsAndCompares) {
    CString s("Kelvara");
    EXPECT_EQ(s.GetLength(), 7);
    EXPECT_FALSE(s.IsEmpty());
    s += " ";
    s += CString("1.0.0.4");
    EXPECT_STREQ(s, "Kelvara 1.0.0.4");
    EXPECT_TRUE(s == "Kelvara 1.0.0.4");
    EXPECT_TRUE("Go to " + CString("x") == CString("Go to x"));
    EXPECT_TRUE(CString(nullptr).IsEmpty());
    EXPECT_EQ(CString("abcdef", 3), "abc");
    EXPECT_EQ(CString("ab", 10), "ab");   // length past the terminator stops there
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(s, "");
}

TEST(CString, PiecesClipToTheText) {
    CString s("http://github.com");
    EXPECT_EQ(s.Mid(7), "github.com");
    EXPECT_EQ(s.Mid(7, 6), "github");
    EXPECT_EQ(s.Mid(40), "");
    EXPECT_EQ(s.Mid(-3, 4), "http");
    EXPECT_EQ(s.Left(4), "http");
    EXPECT_EQ(s.Left(99), s);
    EXPECT_EQ(s.Right(3), "com");
    EXPECT_EQ(s.Right(0), "");
}

TEST(CString, Finds) {
    CString s("mailto:a@b.c");
    EXPECT_EQ(s.Find("mailto:"), 0);
    EXPECT_EQ(s.Find('@'), 8);
    EXPECT_EQ(s.Find('.', 9), 10);
    EXPECT_EQ(s.Find("http"), -1);
    EXPECT_EQ(s.Find("a", 99), -1);
    EXPECT_EQ(s.ReverseFind('a'), 7);
    EXPECT_EQ(s.ReverseFind('z'), -1);
}

TEST(CString, BufferAndFormat) {
    CString s;
    char* buffer = s.GetBuffer(10);
    std::strcpy(buffer, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(s, "abc");
    s.Format("Unknown Error (%d) occurred.", -5);
    EXPECT_EQ(s, "Unknown Error (-5) occurred.");
    s = s.GetString() + 8;   // assigning from its own text
    EXPECT_EQ(s, "Error (-5) occurred.");
}

}  // namespace
