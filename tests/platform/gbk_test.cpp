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

TEST(Gbk, FindMatchesOnlyWhereACharacterBegins) {
    // "\x81T" is one character: the "Temp" inside it is not a word of the path.
    const std::string path = "C:\\\x81Temp\\Temp";
    EXPECT_EQ(9u, GbkFind(path, "Temp"));
    EXPECT_EQ(std::string::npos, GbkFind("\x81Temp", "Temp"));
    EXPECT_EQ(3u, GbkFindNoCase("C:\\INTERNET 临时文件夹", "Internet 临时文件夹"));
    EXPECT_EQ(std::string::npos, GbkFindNoCase("C:\\History", "历史"));
}

TEST(Gbk, FilePathSeparatorsAreBothSlashesButNeverTrailBytes) {
    const std::string path = "C:/a\\\x81\\";  // the last backslash ends a character
    EXPECT_FALSE(GbkEndsWithSeparator(path));
    EXPECT_EQ(4u, GbkLastSeparator(path));
    EXPECT_EQ(2u, GbkLastSeparator(path, 4));
    EXPECT_TRUE(GbkEndsWithSeparator("C:\\a/"));
    EXPECT_EQ((std::vector<std::string>{"C:", "a", "\x81\\"}), SplitGbkFilePath(path));
}

}  // namespace
