#include "tools/vokari-say/location_search.h"

namespace vokari_say {

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

Location first_existing(const std::vector<std::string>& candidates, bool (*exists)(const std::string&),
                        const std::string& what, const std::string& hint) {
    std::string looked;
    for (const std::string& candidate : candidates) {
        if (exists(candidate)) return found(candidate);
        looked += (looked.empty() ? "" : ", ") + candidate;
    }
    return not_found(what + " was not found (looked in " + looked + "); " + hint);
}

}  // namespace vokari_say
