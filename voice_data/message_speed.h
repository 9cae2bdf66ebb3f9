// The host's message speed, read from the host's own profile files.
#pragma once

namespace vokari {

struct LoadedVoice;

// Finds the host's message speed from its profile files, logs it and stores
// it (scaled by 4/3) in settings.message_speed.
void discover_message_speed(LoadedVoice& voice);
// Scans the host profile file `path` (full path) for its first "messagespeed"
// line (key compared without case) and stores the value, in milliseconds per
// character and unscaled, in settings.message_speed.  Logs the path and the
// outcome.
void read_message_speed(LoadedVoice& voice, const char* path);

}  // namespace vokari
