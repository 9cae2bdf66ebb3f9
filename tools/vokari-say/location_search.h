// Finding a file or folder among candidate paths, for locations.cpp and its
// Windows form.
#pragma once

#include <string>
#include <vector>

#include "tools/vokari-say/locations.h"

namespace vokari {
namespace say {

// `path` made absolute by the system (each form of locations defines it).
std::string absolute_path(const std::string& path);

Location found(const std::string& path);
Location not_found(const std::string& error);

// The library the user named, when it is a file.
Location requested_library(const std::string& requested, bool (*is_file)(const std::string&));
// The module directory the user named, when it is one; else a message that
// tells a file from a name that does not exist.
Location requested_module_dir(const std::string& requested, bool (*is_directory)(const std::string&),
                              bool (*is_file)(const std::string&));

// The first candidate that passes `exists`, or a message listing them all.
Location first_existing(const std::vector<std::string>& candidates, bool (*exists)(const std::string&),
                        const std::string& what, const std::string& hint);

}  // namespace say
}  // namespace vokari
