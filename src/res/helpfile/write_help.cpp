// write_help SOURCE.txt OUT.hlp: writes corvane.hlp from its UTF-8 source, every text
// converted to GBK, the code page of the program and of its help file.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include "res/helpfile/helpfile.h"

namespace {

class Utf8ToGbk {
public:
    Utf8ToGbk() : cd_(iconv_open("GBK", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("no UTF-8 to GBK conversion");
        }
    }
    ~Utf8ToGbk() { iconv_close(cd_); }
    Utf8ToGbk(const Utf8ToGbk&) = delete;
    Utf8ToGbk& operator=(const Utf8ToGbk&) = delete;

    std::string operator()(const std::string& text) {
        std::string in = text;
        std::string out(text.size() * 2 + 1, '\0');
        char* inPtr = in.data();
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            throw std::runtime_error("not convertible to GBK: " + text);
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_help SOURCE.txt OUT.hlp\n";
        return 1;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        helpfile::HelpSource source;
        std::string error;
        if (!helpfile::ParseSource(text, source, error)) {
            throw std::runtime_error(std::string(argv[1]) + ": " + error);
        }
        Utf8ToGbk gbk;
        source.title = gbk(source.title);
        for (helpfile::Topic& topic : source.topics) {
            topic.title = gbk(topic.title);
            for (std::string& paragraph : topic.paragraphs) {
                paragraph = gbk(paragraph);
            }
        }
        const std::vector<std::uint8_t> file = helpfile::BuildHelpFile(source);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
        if (!out.flush()) {
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
        }
    } catch (const std::exception& e) {
        std::cerr << "write_help: " << e.what() << "\n";
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
