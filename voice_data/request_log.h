// The request log: a text file of one loaded life, opened and closed for every
// write.  Logging is on exactly when settings.log_path is not empty.
#pragma once

#include "voice_data/settings.h"

namespace vokari {

bool log_is_on(const Settings& settings);
// Creates or empties the log and writes the banner and start line.
void log_start(const Settings& settings);
// Appends `text` (carriage returns removed, written literally).
void log_write(const Settings& settings, const char* text);
// Appends the unload and end lines.
void log_end(const Settings& settings);

}  // namespace vokari
