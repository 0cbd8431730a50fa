// The hosts whose cookies Clear keeps: the user's keep list, how a host is matched
// against it, and how a host the user types or a registry editor wrote becomes one.
#pragma once

#include <string>
#include <vector>

// Lower-case host names, each once.
using KeepList = std::vector<std::string>;

// Whether a cookie of host is kept: host equals a listed host or ends with "." and a
// listed one, without regard to case ("example.com" keeps "mail.example.com"). A leading
// "." is ignored on either side, as Mozilla writes its domain cookies.
bool IsKeptHost(const KeepList& keep, const std::string& host);

// The host name in text, as a user types it or a .reg file holds it: trimmed, lower-cased,
// a URL reduced to its host (scheme, user, port and path dropped). Empty when what is left
// is no host name: letters, digits, "-" and "_" in dot-separated labels, at most 253 bytes.
std::string HostOfTyped(const std::string& text);

// The rows of the keep dialog: the hosts that hold cookies now and the kept ones, each
// once (lower-cased, without a leading "."), sorted.
std::vector<std::string> KeepChoices(const std::vector<std::string>& hostsNow,
                                     const KeepList& keep);
