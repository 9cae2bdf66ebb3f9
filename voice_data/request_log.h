// The request log: a text file of one loaded life, opened and closed for every
// write.  Logging is on exactly when settings.log_path is not empty.
#pragma once

namespace vokari {

bool log_is_on();
// Creates or empties the log and writes the banner and start line.
void log_start();
// Appends `text` (carriage returns removed, written literally).
void log_write(const char* text);
// Appends the unload and end lines.
void log_end();

}  // namespace vokari
