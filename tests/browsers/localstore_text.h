// localstore.rdf texts for the URL-bar history tests: a file whose urlbar-history
// sequence stands at chosen offsets, and what such a file becomes without its entries.
#pragma once

#include <string>

constexpr char kUrlBarOpen[] = "<RDF:Seq about=\"nc:urlbar-history\">";
constexpr char kSeqClose[] = "</RDF:Seq>";

// text repeated and cut to length bytes.
inline std::string Filler(const std::string& text, size_t length) {
    std::string out;
    while (out.size() < length) {
        out += text;
    }
    return out.substr(0, length);
}

// A localstore.rdf of size bytes whose urlbar-history sequence opens at openAt and closes
// at closeAt, with window state before it and toolbar state after it.
inline std::string Localstore(size_t openAt, size_t closeAt, size_t size) {
    const std::string head = "<?xml version=\"1.0\"?>\r\n<RDF:RDF>\r\n";
    const std::string foot = "\r\n</RDF:RDF>\r\n";
    std::string file = head;
    file +=
        Filler("  <RDF:Description about=\"chrome://navigator/content/navigator.xul#main\"/>\r\n",
               openAt - file.size());
    file += kUrlBarOpen;
    file +=
        Filler("\r\n    <RDF:li>http://www.example.com/新闻/today</RDF:li>", closeAt - file.size());
    file += kSeqClose;
    file += Filler("\r\n  <RDF:Seq about=\"urn:toolbars\"><RDF:li/></RDF:Seq>",
                   size - foot.size() - file.size());
    return file + foot;
}

// content without the bytes between its urlbar-history open marker and the first close
// marker after it, and as many blanks at its end: what the eraser makes of it.
inline std::string WithoutUrlBarHistory(const std::string& content) {
    size_t start = content.find(kUrlBarOpen) + sizeof kUrlBarOpen - 1;
    size_t end = content.find(kSeqClose, start);
    return content.substr(0, start) + content.substr(end) + std::string(end - start, ' ');
}
