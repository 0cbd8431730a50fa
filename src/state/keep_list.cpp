#include "state/keep_list.h"

#include <algorithm>

#include "platform/gbk.h"

namespace {

constexpr size_t kMaxHostLength = 253;

// Lower-cased and without the leading "." of a domain cookie.
std::string Bare(const std::string& host) {
    std::string bare = GbkAsciiLower(host);
    return bare.empty() || bare[0] != '.' ? bare : bare.substr(1);
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

bool IsAlphanumeric(char c) {
    return IsHostChar(c) && c != '-' && c != '_' && c != '.';
}

// Labels of letters, digits, "-" and "_", joined by single dots; it begins and ends with a
// letter or digit.
bool IsHostName(const std::string& host) {
    return !host.empty() && host.size() <= kMaxHostLength &&
           std::all_of(host.begin(), host.end(), IsHostChar) && IsAlphanumeric(host.front()) &&
           IsAlphanumeric(host.back()) && host.find("..") == std::string::npos;
}

}  // namespace

bool IsKeptHost(const KeepList& keep, const std::string& host) {
    const std::string bare = Bare(host);
    return std::any_of(keep.begin(), keep.end(), [&](const std::string& listed) {
        std::string kept = Bare(listed);
        return !kept.empty() &&
               (bare == kept || (bare.size() > kept.size() &&
                                 bare.compare(bare.size() - kept.size(), kept.size(), kept) == 0 &&
                                 bare[bare.size() - kept.size() - 1] == '.'));
    });
}

std::string HostOfTyped(const std::string& text) {
    const char* const kBlanks = " \t\r\n";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    std::string host = GbkAsciiLower(text.substr(first, text.find_last_not_of(kBlanks) + 1 - first));
    size_t scheme = host.find("://");
    if (scheme != std::string::npos) {
        host.erase(0, scheme + 3);
    }
    host = host.substr(0, host.find_first_of("/?#"));
    size_t user = host.rfind('@');
    if (user != std::string::npos) {
        host.erase(0, user + 1);
    }
    host = Bare(host.substr(0, host.find(':')));
    return IsHostName(host) ? host : std::string();
}

std::vector<std::string> KeepChoices(const std::vector<std::string>& hostsNow,
                                     const KeepList& keep) {
    std::vector<std::string> rows;
    for (const std::vector<std::string>* hosts : {&hostsNow, &keep}) {
        for (const std::string& host : *hosts) {
            rows.push_back(Bare(host));
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove(rows.begin(), rows.end(), std::string()), rows.end());
    return rows;
}
