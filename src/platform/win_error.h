// Win32 error codes that the core tests for. The core never includes <windows.h>,
// so the values are spelled out here; the Win32 layer checks them against the SDK.
#pragma once

#include <cstdint>

using WinError = std::uint32_t;

namespace winerr {
constexpr WinError kSuccess = 0;
constexpr WinError kFileNotFound = 2;
constexpr WinError kPathNotFound = 3;
constexpr WinError kAccessDenied = 5;
constexpr WinError kInvalidHandle = 6;
constexpr WinError kNoMoreFiles = 18;
constexpr WinError kSharingViolation = 32;
constexpr WinError kFileExists = 80;
constexpr WinError kInvalidParameter = 87;
constexpr WinError kWriteFault = 29;
constexpr WinError kDiskFull = 112;
constexpr WinError kInsufficientBuffer = 122;
constexpr WinError kNegativeSeek = 131;
constexpr WinError kDirNotEmpty = 145;
constexpr WinError kAlreadyExists = 183;
constexpr WinError kEnvVarNotFound = 203;
constexpr WinError kMoreData = 234;
constexpr WinError kNoMoreItems = 259;
constexpr WinError kDirectory = 267;
constexpr WinError kKeyDeleted = 1018;
constexpr WinError kUnknownRevision = 1305;
constexpr WinError kNoneMapped = 1332;
constexpr WinError kInvalidAcl = 1336;
constexpr WinError kInvalidSecurityDescriptor = 1338;
}  // namespace winerr

// COM and shell results: negative values are failures.
#include "platform/hresult.h"  // COM results beside the Win32 codes
