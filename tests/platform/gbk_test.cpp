#include "platform/gbk.h"

#include "platform/rows.h"

// A lead byte (0x81 to 0xFE) makes the next byte part of its character, whatever that byte is:
// "\201\\" holds no backslash, "\201T" no letter T; a lone lead byte at the end is a character.
TEST(Gbk, RulesPerCharacter) {
    const std::string path = "C:/a\\\201\\";  // its last backslash ends a character
    auto at = [](size_t position) { return Num(static_cast<int>(position)); };
    ExpectRows({
        {GbkAsciiLower("WINDOWS 临时文件夹\201AA\201"), "windows 临时文件夹\201Aa\201"},
        {Seq(SplitGbkPath("\\Software\\\201\\\\x\\\\y\\"), "|"), "Software|\201\\|x|y"},
        {at(GbkFind("C:\\\201Temp\\Temp", "Temp")) + at(GbkFind("\201Temp", "Temp")), "9-1"},
        {at(GbkFindNoCase("C:\\INTERNET 临时文件夹", "Internet 临时文件夹")), "3"},
        {at(GbkFindNoCase("C:\\History", "历史")), "-1"},
        {at(GbkEndsWithSeparator(path)) + at(GbkEndsWithSeparator("C:\\a/")), "01"},
        {at(GbkLastSeparator(path)) + at(GbkLastSeparator(path, 4)), "42"},
        {at(GbkLastSeparator("a\200\\b")), "2"},  // 0x80 leads no character
        {Seq(SplitGbkFilePath(path), "|"), "C:|a|\201\\"},
    });
}
