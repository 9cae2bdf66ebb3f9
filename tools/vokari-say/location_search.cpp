// Building the answer of a location search: found, not found, or the library the user named.
#include "tools/vokari-say/location_search.h"

namespace vokari {
namespace say {

Location found(const std::string& path) {
    Location location;
    location.ok = true;
    location.path = absolute_path(path);
    return location;
}

Location not_found(const std::string& error) {
    Location location;
    location.error = error;
    return location;
}

Location requested_library(const std::string& requested, bool (*is_file)(const std::string&)) {
    return is_file(requested) ? found(requested) : not_found("module library not found: " + requested);
}

Location requested_module_dir(const std::string& requested, bool (*is_directory)(const std::string&),
                              bool (*is_file)(const std::string&)) {
    if (is_directory(requested)) return found(requested);
    return not_found(is_file(requested) ? "not a directory: " + requested : "module directory not found: " + requested);
}

Location first_existing(const std::vector<std::string>& candidates, bool (*exists)(const std::string&),
                        const std::string& what, const std::string& hint) {
    std::string looked;
    for (const std::string& candidate : candidates) {
        if (exists(candidate)) return found(candidate);
        looked += (looked.empty() ? "" : ", ") + candidate;
    }
    return not_found(what + " was not found (looked in " + looked + "); " + hint);
}

}  // namespace say
}  // namespace vokari
