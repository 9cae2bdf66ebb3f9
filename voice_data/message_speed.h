// The host's message speed, read from the host's own profile files.
#pragma once

#include <optional>

namespace vokari {

struct LoadedVoice;

// Finds the host's message speed from its profile files, logs it and stores
// it (scaled by 4/3) in settings.message_speed.
void discover_message_speed(LoadedVoice& voice);
// Scans the host profile file `path` (full path) for its first "messagespeed"
// line (key compared without case) and returns its value, in milliseconds per
// character and unscaled; nothing when the file cannot be opened or has no
// such line.  Logs the path and the outcome to the log of `voice`.
std::optional<int> read_message_speed(const LoadedVoice& voice, const char* path);

}  // namespace vokari
