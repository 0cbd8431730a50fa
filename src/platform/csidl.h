// Shell folder identifiers, by number as the shell defines them.
#pragma once

using CsidlFolder = int;

namespace csidl {
constexpr CsidlFolder kRecent = 8;
constexpr CsidlFolder kAppData = 26;
constexpr CsidlFolder kInternetCache = 32;
constexpr CsidlFolder kCookies = 33;
constexpr CsidlFolder kHistory = 34;
}  // namespace csidl
