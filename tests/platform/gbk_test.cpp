#include "platform/gbk.h"

#include "platform/rows.h"

namespace {

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) {
        out += part + "|";
    }
    return out;
}

// A lead byte makes the next byte part of its character, whatever that byte is: "\x81\x5C"
// holds no backslash, "\x81T" no letter T; a lone lead byte at the end is a character.
TEST(Gbk, RulesPerCharacter) {
    const std::string path = "C:/a\\\x81\\";  // its last backslash ends a character
    ExpectRows({
        {GbkAsciiLower("WINDOWS 临时文件夹\x81\x41"
                       "A\x81"),
         "windows 临时文件夹\x81\x41"
         "a\x81"},
        {Joined(SplitGbkPath("\\Software\\\x81\x5C\\x\\\\y\\")), "Software|\x81\x5C|x|y|"},
        {std::to_string(GbkEqualNoCase("Ab", "aB")) + std::to_string(GbkEqualNoCase("Ab", "aBc")),
         "10"},
        {std::to_string(GbkFind("C:\\\x81Temp\\Temp", "Temp")), "9"},
        {std::to_string(GbkFind("\x81Temp", "Temp") == std::string::npos), "1"},
        {std::to_string(GbkFindNoCase("C:\\INTERNET 临时文件夹", "Internet 临时文件夹")), "3"},
        {std::to_string(GbkFindNoCase("C:\\History", "历史") == std::string::npos), "1"},
        {std::to_string(GbkEndsWithSeparator(path)) +
             std::to_string(GbkEndsWithSeparator("C:\\a/")),
         "01"},
        {std::to_string(GbkLastSeparator(path)) + std::to_string(GbkLastSeparator(path, 4)), "42"},
        {Joined(SplitGbkFilePath(path)), "C:|a|\x81\\|"},
    });
}

}  // namespace
