// The request log: a text file of one loaded life, opened and closed for every
// write.  Logging is on exactly when settings.log_path is not empty.
#pragma once

#include <initializer_list>
#include <string_view>

#include "voice_data/log_line_table.h"
#include "voice_data/settings.h"

namespace vokari {

bool log_is_on(const Settings& settings);
// Creates or empties the log and writes the banner and start line.
void log_start(const Settings& settings);
// Appends `text` (carriage returns removed, written literally): for the
// copies of requests and responses; every other line goes through log_line.
void log_write(const Settings& settings, const char* text);
// Appends a line of kLogLines with its fields.
void log_line(const Settings& settings, LogLine line, std::initializer_list<std::string_view> fields = {});
// Appends the label of a line of kLogLines; log_rest appends the rest once
// the outcome is known.
void log_label(const Settings& settings, LogLine line, std::initializer_list<std::string_view> fields = {});
void log_rest(const Settings& settings, LogLine line, std::initializer_list<std::string_view> fields = {});
// Appends the unload and end lines.
void log_end(const Settings& settings);

}  // namespace vokari
