#include "platform/gbk.h"

#include <gtest/gtest.h>

namespace {

TEST(Gbk, LowerCasesAsciiOnly) {
    EXPECT_EQ("windows 临时文件夹", GbkAsciiLower("WINDOWS 临时文件夹"));
    EXPECT_EQ(
        "\x81\x41"
        "a",
        GbkAsciiLower("\x81\x41"
                      "A"));
}

TEST(Gbk, SplitsAtRealBackslashesOnly) {
    std::vector<std::string> parts = SplitGbkPath("\\Software\\\x81\x5C\\x\\\\y\\");
    ASSERT_EQ(4u, parts.size());
    EXPECT_EQ("Software", parts[0]);
    EXPECT_EQ("\x81\x5C", parts[1]);
    EXPECT_EQ("x", parts[2]);
    EXPECT_EQ("y", parts[3]);
}

TEST(Gbk, LoneLeadByteAtTheEndIsACharacterOfItsOwn) {
    EXPECT_EQ("a\x81", GbkAsciiLower("A\x81"));
    EXPECT_TRUE(GbkEqualNoCase("Ab", "aB"));
    EXPECT_FALSE(GbkEqualNoCase("Ab", "aBc"));
}

}  // namespace
