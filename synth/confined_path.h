// The check that keeps sound-file output inside the module directory.
#pragma once

#include <string>

namespace vokari {

// True when the Shift_JIS path `relative`, taken relative to a directory
// (Windows rules, '\\' or '/' separators), names something inside that
// directory: not absolute (no leading separator, no drive or stream colon, no
// UNC or device path), never climbing above its start with "..", and naming no
// DOS device (CON, NUL, COM1, ...).
bool stays_inside_directory(const std::string& relative);

}  // namespace vokari
