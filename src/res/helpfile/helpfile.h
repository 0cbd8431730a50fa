// corvane.hlp in memory: the help viewer's file of internal files (|SYSTEM, |TOPIC,
// |FONT, |CONTEXT, |CTXOMAP), built from a list of topics whose texts are already in the
// file's code page (GBK).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helpfile {

struct Topic {
    std::int32_t number = -1;  // context number of HELP_CONTEXT; -1: none
    std::string context;       // context string, e.g. IDH_COOKIES
    std::string title;
    std::vector<std::string> paragraphs;
};

struct HelpSource {
    std::string title;          // the file's title, shown in the viewer's caption
    std::vector<Topic> topics;  // the first one is the contents topic
};

// Reads the source text: "#title TEXT", "#topic NUMBER|- CONTEXT TITLE", comment lines
// starting with "# ", blank lines, and one paragraph per other line. Returns false with a
// message naming the line on a malformed source.
bool ParseSource(const std::string& text, HelpSource& source, std::string& error);

// The hash of a context string by which |CONTEXT is keyed.
std::int32_t ContextHash(const std::string& context);

// The whole file. Throws std::runtime_error when a topic does not fit the format (a
// paragraph longer than a topic block, a duplicate context string or number).
std::vector<std::uint8_t> BuildHelpFile(const HelpSource& source);

}  // namespace helpfile
