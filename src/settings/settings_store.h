// The user's choices in the per-user registry: eleven REG_SZ values under
// HKEY_CURRENT_USER\Software\Halvix\Corvane\Settings, and the keep list of cookies as
// the REG_MULTI_SZ value "KeepCookies" (one host a string) while it holds a host.
#pragma once

#include "platform/registry.h"
#include "state/command_state.h"

extern const char kSettingsKey[];

// Replaces the fields whose values can be read; every other field keeps what it had
// (the defaults on a first run).
void LoadSettings(Registry& registry, EraserSettings& settings);

// The keep list a "KeepCookies" value of that type and data holds: each string that
// names a host (HostOfTyped), once. Another type is an empty list; strings without their
// terminating NULs end with the data, empty ones are passed over.
KeepList ParseKeepCookies(std::uint32_t type, const std::string& data);

// Writes all eleven values, and "KeepCookies" (removed when the list is empty, so that
// an empty list leaves the key as it was before the list existed). Failures are not reported: the next start loads whatever
// the registry then holds.
void SaveSettings(Registry& registry, const EraserSettings& settings);
