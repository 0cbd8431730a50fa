// COM result codes that the core tests for. The core never includes <windows.h>, so the
// values are spelled out here; the Win32 layer checks them against the SDK.
#pragma once

#include <cstdint>

using HResult = std::int32_t;

// S_OK, S_FALSE (an enumeration has no more records), E_NOTIMPL, E_NOINTERFACE, E_FAIL,
// E_OUTOFMEMORY, CLASS_E_CLASSNOTAVAILABLE, REGDB_E_CLASSNOTREG, CO_E_NOTINITIALIZED.
namespace hresult {
constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;
constexpr HResult kNotImpl = static_cast<HResult>(0x80004001u);
constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);
constexpr HResult kFail = static_cast<HResult>(0x80004005u);
constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);
constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111u);
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
constexpr HResult kNotInitialized = static_cast<HResult>(0x800401F0u);
}  // namespace hresult
