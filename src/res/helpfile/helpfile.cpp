#include "res/helpfile/helpfile.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>

namespace helpfile {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kFileMagic = 0x00035F3F;
constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::uint16_t kTreeMagic = 0x293B;
constexpr std::uint16_t kTreeFlags = 0x0402;
constexpr std::uint16_t kDirectoryPage = 0x400;
constexpr std::uint16_t kContextPage = 0x800;
constexpr std::uint16_t kSystemMagic = 0x036C;
constexpr std::uint16_t kMinorVersion = 33;  // Windows 3.1 layout: 4 KB topic blocks
constexpr std::uint8_t kGb2312Charset = 134;

// Topic blocks of 4 KB, uncompressed, each opening with a 12-byte header. A link's
// position (TOPICPOS) is block * 0x4000 plus its place in the block, header included; a
// topic's offset (TOPICOFFSET) is block * 0x8000 plus the characters of the text links
// before it in the block.
constexpr std::uint32_t kBlockSize = 0x1000;
constexpr std::uint32_t kBlockHeader = 12;
constexpr std::uint32_t kLinkHeader = 21;
constexpr std::uint32_t kTopicHeaderData = 28;
constexpr std::uint8_t kTopicHeaderLink = 0x02;
constexpr std::uint8_t kTextLink = 0x20;

constexpr std::uint8_t kFontChange = 0x80;
constexpr std::uint8_t kParagraphEnd = 0x82;
constexpr std::uint8_t kFormatEnd = 0xFF;
constexpr std::uint16_t kSpaceBelowBit = 0x0004;
constexpr int kSpaceBelow = 6;
constexpr std::uint8_t kFontHalfPoints = 20;
constexpr std::uint8_t kFontSwiss = 0x03;
constexpr char kFaceName[] = "SimSun";
constexpr std::uint32_t kFaceNameSize = 32;

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The viewer's compressed numbers: a short value in one or two bytes (low bit clear: one
// byte) and a long in two or four.
void PutCompressedUShort(Bytes& out, std::uint32_t value) {
    if (value < 0x80) {
        out.push_back(static_cast<std::uint8_t>(value * 2));
    } else if (value < 0x8000) {
        Put16(out, value * 2 + 1);
    } else {
        throw std::runtime_error("paragraph too long for its length field");
    }
}

void PutCompressedLong(Bytes& out, std::uint32_t value) {
    if (value < 0x4000) {
        Put16(out, 0x8000 + value * 2);
    } else {
        Put32(out, 0x80000000u + value * 2 + 1);
    }
}

// An internal file: reserved size, used size, flags, then the data.
Bytes InternalFile(const Bytes& data) {
    Bytes out;
    Put32(out, static_cast<std::uint32_t>(data.size() + 9));
    Put32(out, static_cast<std::uint32_t>(data.size()));
    out.push_back(0x04);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// A B+ tree of one leaf page holding the given entries, already in key order.
Bytes OneLeafTree(const char* structure, std::uint16_t pageSize,
                  const std::vector<Bytes>& entries) {
    Bytes out;
    Put16(out, kTreeMagic);
    Put16(out, kTreeFlags);
    Put16(out, pageSize);
    std::string layout(structure);
    layout.resize(16, '\0');
    PutText(out, layout);
    Put16(out, 0);       // must be zero
    Put16(out, 0);       // page splits
    Put16(out, 0);       // root page
    Put16(out, 0xFFFF);  // must be -1
    Put16(out, 1);       // pages
    Put16(out, 1);       // levels
    Put32(out, static_cast<std::uint32_t>(entries.size()));

    Bytes page;
    for (const Bytes& entry : entries) {
        page.insert(page.end(), entry.begin(), entry.end());
    }
    if (page.size() + 8 > pageSize) {
        throw std::runtime_error("too many entries for one B+ tree page");
    }
    Put16(out, static_cast<std::uint32_t>(pageSize - 8 - page.size()));  // unused bytes
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, 0xFFFF);  // previous page
    Put16(out, 0xFFFF);  // next page
    out.insert(out.end(), page.begin(), page.end());
    out.resize(out.size() + pageSize - 8 - page.size(), 0);
    return out;
}

// One topic link before its neighbours are known: the record type, the data after the
// 21-byte header (LinkData1) and the text (LinkData2).
struct Link {
    std::uint8_t type = 0;
    Bytes data1;
    Bytes data2;
    std::size_t topic = 0;
    std::uint32_t characters = 0;  // text links: characters counted in TOPICOFFSETs
    std::uint32_t position = 0;    // TOPICPOS
    std::uint32_t size() const {
        return kLinkHeader + static_cast<std::uint32_t>(data1.size() + data2.size());
    }
};

// A paragraph of plain text in the one font, with a little space below it.
Link TextLink(const std::string& text, std::size_t topic) {
    Link link;
    link.type = kTextLink;
    link.topic = topic;
    link.characters = static_cast<std::uint32_t>(text.size()) + 1;  // the paragraph end counts
    link.data2.push_back(0);  // empty text before the font change
    PutText(link.data2, text);
    link.data2.push_back(0);
    Bytes format = {0x00, 0x80, 0x00, 0x00};  // unknown byte, biased byte, paragraph id
    Put16(format, kSpaceBelowBit);
    format.push_back(static_cast<std::uint8_t>(0x80 + 2 * kSpaceBelow));
    format.insert(format.end(), {kFontChange, 0x00, 0x00, kParagraphEnd, kFormatEnd});
    PutCompressedLong(link.data1, kLinkHeader + static_cast<std::uint32_t>(link.data2.size()));
    PutCompressedUShort(link.data1, link.characters);
    link.data1.insert(link.data1.end(), format.begin(), format.end());
    return link;
}

struct TopicPlace {
    std::uint32_t header = 0;  // TOPICPOS of its header link
    std::uint32_t firstText = 0;
    std::uint32_t offset = 0;  // TOPICOFFSET
    std::uint32_t bytes = 0;   // all its links
};

struct TopicFile {
    Bytes data;
    std::vector<TopicPlace> places;
};

// The links of every topic in order: its header (its data filled once positions are
// known), its title as a first paragraph, then its paragraphs.
std::vector<Link> TopicLinks(const HelpSource& source) {
    std::vector<Link> links;
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        Link header;
        header.type = kTopicHeaderLink;
        header.topic = t;
        header.data1.assign(kTopicHeaderData, 0);
        PutText(header.data2, source.topics[t].title);
        links.push_back(header);
        links.push_back(TextLink(source.topics[t].title, t));
        for (const std::string& paragraph : source.topics[t].paragraphs) {
            links.push_back(TextLink(paragraph, t));
        }
    }
    return links;
}

// Gives every link its position and every topic its place; returns the number of blocks
// used. A link never straddles two blocks: one that does not fit starts the next.
std::uint32_t PlaceLinks(std::vector<Link>& links, std::vector<TopicPlace>& places) {
    std::uint32_t block = 0;
    std::uint32_t inBlock = kBlockHeader;
    std::uint32_t characters = 0;
    for (Link& link : links) {
        if (link.size() > kBlockSize - kBlockHeader) {
            throw std::runtime_error("paragraph longer than a topic block");
        }
        if (inBlock + link.size() > kBlockSize) {
            ++block;
            inBlock = kBlockHeader;
            characters = 0;
        }
        link.position = block * 0x4000 + inBlock;
        inBlock += link.size();
        TopicPlace& place = places[link.topic];
        place.bytes += link.size();
        if (link.type == kTopicHeaderLink) {
            place.header = link.position;
            place.offset = block * 0x8000 + characters;
        } else if (place.firstText == 0) {
            place.firstText = link.position;
        }
        characters += link.characters;
    }
    return block + 1;
}

// A topic header's data: its size, its neighbours for browsing, its number and where its
// text starts.
void FillTopicHeader(Link& header, const std::vector<TopicPlace>& places) {
    const std::size_t t = header.topic;
    const bool hasNext = t + 1 < places.size();
    Bytes& h = header.data1;
    Set32(h, 0, places[t].bytes);
    Set32(h, 4, t > 0 ? places[t - 1].offset : kNone);  // browse back
    Set32(h, 8, hasNext ? places[t + 1].offset : kNone);
    Set32(h, 12, static_cast<std::uint32_t>(t));
    Set32(h, 16, kNone);  // no non-scrolling region
    Set32(h, 20, places[t].firstText);
    Set32(h, 24, hasNext ? places[t + 1].header : kNone);
}

// Link i as written: the 21-byte header (its size, its text's size, the positions of the
// links before and after it, the header's own size, the type), then its data.
Bytes LinkBytes(const std::vector<Link>& links, std::size_t i) {
    const Link& link = links[i];
    Bytes bytes;
    Put32(bytes, link.size());
    Put32(bytes, static_cast<std::uint32_t>(link.data2.size()));
    Put32(bytes, i > 0 ? links[i - 1].position : kNone);
    Put32(bytes, i + 1 < links.size() ? links[i + 1].position : kNone);
    Put32(bytes, kLinkHeader + static_cast<std::uint32_t>(link.data1.size()));
    bytes.push_back(link.type);
    bytes.insert(bytes.end(), link.data1.begin(), link.data1.end());
    bytes.insert(bytes.end(), link.data2.begin(), link.data2.end());
    return bytes;
}

// Writes the placed links into their blocks; the link that opens a block first writes the
// block's header: the last link of the block before, itself, and the last topic header.
void WriteLinks(std::vector<Link>& links, TopicFile& file) {
    std::uint32_t lastHeader = kNone;
    std::uint32_t lastInPreviousBlock = kNone;
    for (std::size_t i = 0; i < links.size(); ++i) {
        Link& link = links[i];
        const std::uint32_t linkBlock = link.position / 0x4000;
        const std::size_t blockStart = linkBlock * kBlockSize;
        if (link.type == kTopicHeaderLink) {
            FillTopicHeader(link, file.places);
            lastHeader = link.position;
        }
        if (i == 0 || links[i - 1].position / 0x4000 != linkBlock) {
            if (i > 0) {
                lastInPreviousBlock = links[i - 1].position;
            }
            Set32(file.data, blockStart, lastInPreviousBlock);
            Set32(file.data, blockStart + 4, link.position);
            Set32(file.data, blockStart + 8, lastHeader);
        }
        Bytes bytes = LinkBytes(links, i);
        std::copy(bytes.begin(), bytes.end(),
                  file.data.begin() + blockStart + link.position % 0x4000);
    }
}

TopicFile BuildTopics(const HelpSource& source) {
    std::vector<Link> links = TopicLinks(source);
    TopicFile file;
    file.places.resize(source.topics.size());
    std::uint32_t blocks = PlaceLinks(links, file.places);
    file.data.assign(blocks * kBlockSize, 0);
    WriteLinks(links, file);
    return file;
}

Bytes BuildSystem(const HelpSource& source, std::uint32_t contentsOffset) {
    Bytes out;
    Put16(out, kSystemMagic);
    Put16(out, kMinorVersion);
    Put16(out, 1);  // major version
    Put32(out, 0);  // generation date: none, so that a build is reproducible
    Put16(out, 0);  // flags: topic blocks of 4 KB, not compressed
    Put16(out, 1);  // title
    Put16(out, static_cast<std::uint32_t>(source.title.size() + 1));
    PutText(out, source.title);
    out.push_back(0);
    Put16(out, 3);  // contents topic
    Put16(out, 4);
    Put32(out, contentsOffset);
    Put16(out, 11);  // character set of the texts and fonts
    Put16(out, 2);
    Put16(out, kGb2312Charset);
    return out;
}

Bytes BuildFont() {
    Bytes out;
    Put16(out, 1);  // face names
    Put16(out, 1);  // descriptors
    Put16(out, 8);  // face names' offset
    Put16(out, 8 + kFaceNameSize);
    std::string face(kFaceName);
    face.resize(kFaceNameSize, '\0');
    PutText(out, face);
    out.insert(out.end(), {0x00, kFontHalfPoints, kFontSwiss});  // plain, 10 points
    Put16(out, 0);                                               // face name 0
    out.insert(out.end(), {0, 0, 0, 0xFF, 0xFF, 0xFF});          // black on white
    return out;
}

}  // namespace

std::int32_t ContextHash(const std::string& context) {
    std::uint32_t hash = 0;
    for (char c : context) {
        std::uint32_t code = 0;
        if (c >= 'A' && c <= 'Z') {
            code = c - 'A' + 17;
        } else if (c >= 'a' && c <= 'z') {
            code = c - 'a' + 17;
        } else if (c >= '1' && c <= '9') {
            code = c - '0';
        } else if (c == '0') {
            code = 10;
        } else if (c == '.') {
            code = 12;
        } else if (c == '_') {
            code = 13;
        }
        if (code != 0) {
            hash = hash * 43 + code;
        }
    }
    return static_cast<std::int32_t>(hash);
}

bool ParseSource(const std::string& text, HelpSource& source, std::string& error) {
    source = HelpSource();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty() || line == "#" || line.rfind("# ", 0) == 0) {
            continue;
        }
        if (line.rfind("#title ", 0) == 0) {
            source.title = line.substr(7);
        } else if (line.rfind("#topic ", 0) == 0) {
            std::istringstream fields(line.substr(7));
            std::string id, context, title;
            fields >> id >> context;
            std::getline(fields >> std::ws, title);
            Topic topic;
            if (id != "-") {
                if (id.empty() || id.size() > 9 ||
                    id.find_first_not_of("0123456789") != std::string::npos) {
                    return fail("context number expected, or -");
                }
                topic.number = std::stoi(id);
            }
            if (context.empty() ||
                context.find_first_not_of(
                    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.") !=
                    std::string::npos) {
                return fail("context string of letters, digits, '_' and '.' expected");
            }
            if (title.empty()) {
                return fail("topic without a title");
            }
            topic.context = context;
            topic.title = title;
            source.topics.push_back(topic);
        } else if (line[0] == '#') {
            return fail("unknown directive");
        } else if (source.topics.empty()) {
            return fail("paragraph before the first topic");
        } else {
            source.topics.back().paragraphs.push_back(line);
        }
    }
    if (source.title.empty()) {
        return fail("no #title");
    }
    if (source.topics.empty()) {
        return fail("no #topic");
    }
    return true;
}

std::vector<std::uint8_t> BuildHelpFile(const HelpSource& source) {
    if (source.topics.empty()) {
        throw std::runtime_error("no topics");
    }
    TopicFile topics = BuildTopics(source);

    std::map<std::int32_t, std::uint32_t> byHash;  // signed order, as the viewer searches
    std::map<std::int32_t, std::uint32_t> byNumber;
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        const Topic& topic = source.topics[t];
        if (!byHash.emplace(ContextHash(topic.context), topics.places[t].offset).second) {
            throw std::runtime_error("context string " + topic.context + " hashes like another");
        }
        if (topic.number >= 0 && !byNumber.emplace(topic.number, topics.places[t].offset).second) {
            throw std::runtime_error("context number " + std::to_string(topic.number) +
                                     " given twice");
        }
    }
    std::vector<Bytes> contextEntries;
    for (const auto& [hash, offset] : byHash) {
        Bytes entry;
        Put32(entry, static_cast<std::uint32_t>(hash));
        Put32(entry, offset);
        contextEntries.push_back(entry);
    }
    Bytes map;
    Put16(map, static_cast<std::uint32_t>(byNumber.size()));
    for (const auto& [id, offset] : byNumber) {
        Put32(map, static_cast<std::uint32_t>(id));
        Put32(map, offset);
    }

    // Internal files in name order (the directory's key order), then the directory.
    const std::map<std::string, Bytes> files = {
        {"|CONTEXT", OneLeafTree("L4", kContextPage, contextEntries)},
        {"|CTXOMAP", map},
        {"|FONT", BuildFont()},
        {"|SYSTEM", BuildSystem(source, topics.places[0].offset)},
        {"|TOPIC", topics.data},
    };
    Bytes out(16, 0);
    std::vector<Bytes> directoryEntries;
    for (const auto& [name, data] : files) {
        Bytes entry;
        PutText(entry, name);
        entry.push_back(0);
        Put32(entry, static_cast<std::uint32_t>(out.size()));
        directoryEntries.push_back(entry);
        Bytes internal = InternalFile(data);
        out.insert(out.end(), internal.begin(), internal.end());
    }
    const std::uint32_t directory = static_cast<std::uint32_t>(out.size());
    Bytes internal = InternalFile(OneLeafTree("z4", kDirectoryPage, directoryEntries));
    out.insert(out.end(), internal.begin(), internal.end());
    Set32(out, 0, kFileMagic);
    Set32(out, 4, directory);
    Set32(out, 8, kNone);  // no free blocks
    Set32(out, 12, static_cast<std::uint32_t>(out.size()));
    return out;
}

}  // namespace helpfile
