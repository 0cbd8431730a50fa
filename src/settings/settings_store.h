// The user's choices in the per-user registry: eleven REG_SZ values under
// HKEY_CURRENT_USER\Software\Halvix\Corvane\Settings.
#pragma once

#include "platform/registry.h"
#include "state/command_state.h"

extern const char kSettingsKey[];

// Replaces the fields whose values can be read; every other field keeps what it had
// (the defaults on a first run).
void LoadSettings(Registry& registry, EraserSettings& settings);

// Writes all eleven values. Failures are not reported: the next start loads whatever
// the registry then holds.
void SaveSettings(Registry& registry, const EraserSettings& settings);
