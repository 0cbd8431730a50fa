// The registry names of Internet Explorer's settings that Clear, Test, Save state and
// Restore all reach, and the page a start page is reset to.
#pragma once

#include <cstdint>

namespace iename {
constexpr char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kStartPageValue[] = "起始页";
constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kRunMruKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr char kBlankPage[] = "about:blank";
constexpr std::uint32_t kBlankPageSize = sizeof kBlankPage - 1;  // without the terminator
}  // namespace iename
