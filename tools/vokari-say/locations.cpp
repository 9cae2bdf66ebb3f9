// Search paths relative to the running program, with compiled-in fallbacks.
#include "tools/vokari-say/locations.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace vokari_say {
namespace {

std::string executable_directory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    path[length] = '\0';
    std::string directory(path);
    return directory.substr(0, directory.rfind('/'));
}

bool is_directory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_file(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string absolute(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

Location found(const std::string& path) {
    Location location;
    location.ok = true;
    location.path = absolute(path);
    return location;
}

Location not_found(const std::string& error) {
    Location location;
    location.error = error;
    return location;
}

// The first candidate that passes `exists`, or a message listing them all.
Location first_existing(const std::vector<std::string>& candidates, bool (*exists)(const std::string&),
                        const std::string& what, const std::string& hint) {
    std::string looked;
    for (const std::string& candidate : candidates) {
        if (exists(candidate)) return found(candidate);
        looked += (looked.empty() ? "" : ", ") + candidate;
    }
    return not_found(what + " was not found (looked in " + looked + "); " + hint);
}

}  // namespace

Location find_library(const std::string& requested) {
    if (!requested.empty()) {
        return is_file(requested) ? found(requested) : not_found("module library not found: " + requested);
    }
    return first_existing({executable_directory() + "/libvokari.so", VOKARI_SAY_BUILT_LIBRARY}, is_file,
                          "the module library libvokari.so", "build it, or name it with --library");
}

Location find_module_dir(const std::string& requested) {
    if (!requested.empty()) {
        if (is_directory(requested)) return found(requested);
        return not_found(is_file(requested) ? "not a directory: " + requested
                                            : "module directory not found: " + requested);
    }
    const std::string here = executable_directory();
    return first_existing({here + "/voices/default", here + "/../share/vokari/voices/default",
                           VOKARI_SAY_SOURCE_DIR "/voices/default"},
                          is_directory, "the bundled voice", "name a module directory with --module-dir");
}

}  // namespace vokari_say
