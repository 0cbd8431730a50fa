// corvane.hlp's layout, read by a reader of this test's own from what the writer makes
// of the real source (under the sanitizers too): what a viewer more lenient than Windows'
// would let pass. That each context number opens its topic is seen in the real viewer
// under Wine.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

int RunWriter(const std::string& source, const std::string& out) {
    const int status = std::system(
        ("'" CORVANE_WRITE_HELP "' '" + source + "' '" + out + "' 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct HelpFile {
    std::vector<std::uint8_t> b;
    std::uint32_t U16(std::size_t at) const { return b.at(at) | b.at(at + 1) << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::string Text(std::size_t at, std::size_t n) const { return {&b[at], &b[at] + n}; }

    std::vector<std::string> names;               // of the internal files, in the directory's order
    std::map<std::string, std::size_t> files;     // name -> its data, after the 9-byte header
    std::map<std::string, std::uint32_t> system;  // record type 1, 3, 11 as text or number
    std::map<std::uint32_t, std::string> titles;  // TOPICOFFSET -> topic title
    std::map<std::int32_t, std::uint32_t> contexts;  // hash of a context string -> TOPICOFFSET
    std::string title;
    std::size_t topicBlocks = 0;
    bool linksInsideBlocks = true;

    // The leaf of a one-page B+ tree: its entries' first byte, after checking the header.
    std::size_t Leaf(std::size_t tree, const char* structure, std::uint32_t pageSize,
                     std::uint32_t& count) const {
        EXPECT_EQ(U16(tree), 0x293Bu);
        EXPECT_EQ(U16(tree + 4), pageSize);
        EXPECT_EQ(Text(tree + 6, 2), structure);
        EXPECT_EQ(U16(tree + 32), 1u);  // one level
        count = U16(tree + 38 + 2);
        return tree + 38 + 8;
    }

    explicit HelpFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        b.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        EXPECT_EQ(U32(0), 0x00035F3Fu);
        EXPECT_EQ(U32(12), b.size());
        std::uint32_t count = 0;
        std::size_t entry = Leaf(U32(4) + 9, "z4", 0x400, count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::string name(reinterpret_cast<const char*>(&b[entry]));
            const std::size_t header = U32(entry + name.size() + 1);
            EXPECT_EQ(U32(header), U32(header + 4) + 9) << name;
            names.push_back(name);
            files[name] = header + 9;
            entry += name.size() + 5;
        }
        const std::size_t sys = files.at("|SYSTEM");
        EXPECT_EQ(U16(sys), 0x036Cu);
        EXPECT_EQ(U16(sys + 2), 33u);
        EXPECT_EQ(U16(sys + 10), 0u);
        for (std::size_t r = sys + 12; r < sys + U32(sys - 5); r += 4 + U16(r + 2)) {
            system[std::to_string(U16(r))] = U16(r) == 3 ? U32(r + 4) : b[r + 4];
            title = U16(r) == 1 ? Text(r + 4, U16(r + 2) - 1) : title;
        }
        const std::size_t topic = files.at("|TOPIC");
        topicBlocks = U32(topic - 5) / 0x1000;
        linksInsideBlocks = U32(topic - 5) % 0x1000 == 0;
        std::uint32_t characters = 0, lastBlock = 0;
        for (std::uint32_t pos = 0x0C; pos != 0xFFFFFFFF;) {
            const std::uint32_t block = pos / 0x4000, at = topic + block * 0x1000 + pos % 0x4000;
            characters = block == lastBlock ? characters : 0;
            lastBlock = block;
            linksInsideBlocks = linksInsideBlocks && pos % 0x4000 + U32(at) <= 0x1000;
            if (b[at + 20] == 0x02) {
                titles[block * 0x8000 + characters] = Text(at + U32(at + 16), U32(at + 4));
            } else {
                EXPECT_EQ(b[at + 20], 0x20);
                // The length, after a two-byte TopicSize: one byte, or two when its low bit is set.
                characters += (b[at + 23] & 1 ? U16(at + 23) : b[at + 23]) / 2;
            }
            pos = U32(at + 12);
        }
        entry = Leaf(files.at("|CONTEXT"), "L4", 0x800, count);
        for (std::uint32_t i = 0; i < count; ++i, entry += 8) {
            EXPECT_TRUE(contexts.empty() || contexts.rbegin()->first < std::int32_t(U32(entry)));
            contexts[U32(entry)] = U32(entry + 4);
        }
    }
};

// The writer runs before each test reads its output: a failure in a suite's set-up
// would only skip the tests.
class HelpFileTest : public ::testing::Test {
protected:
    const int written = RunWriter(CORVANE_HELP_SOURCE, CORVANE_TEST_DIR "/corvane.hlp");
    HelpFile file{CORVANE_TEST_DIR "/corvane.hlp"};
    void SetUp() override { ASSERT_EQ(written, 0); }
};

TEST_F(HelpFileTest, HoldsTheViewersInternalFilesItsContentsCharsetAndTopicBlocks) {
    const std::vector<std::string> names = {"|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC"};
    EXPECT_EQ(file.names, names);
    EXPECT_EQ(file.title, "Corvane 帮助");
    EXPECT_EQ(file.system.at("11"), 134u);
    EXPECT_EQ(file.titles.at(file.system.at("3")), "Corvane 帮助");
    EXPECT_EQ(file.contexts.at(1748044782), file.system.at("3"));  // IDH_CONTENTS
    // Twelve topics over more than one 4 KB block, no link crossing a block's end.
    EXPECT_EQ(file.titles.size(), 12u);
    EXPECT_GE(file.topicBlocks, 2u);
    EXPECT_TRUE(file.linksInsideBlocks);
}

}  // namespace
