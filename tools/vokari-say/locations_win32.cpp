// Search paths relative to the running program on Windows: vokari.dll and
// the bundled voice beside it or one folder up (the release zip keeps the
// tools in tools\).
#include "tools/vokari-say/locations.h"

#include <windows.h>

#include <vector>

#include "tools/vokari-say/location_search.h"

namespace vokari {
namespace say {
namespace {

std::string executable_directory() {
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return ".";
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of("\\/"));
}

DWORD attributes_of(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool is_directory(const std::string& path) {
    const DWORD attributes = attributes_of(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool is_file(const std::string& path) {
    const DWORD attributes = attributes_of(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::string absolute_path(const std::string& path) {
    char resolved[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof resolved, resolved, nullptr);
    return length > 0 && length < sizeof resolved ? std::string(resolved, length) : path;
}

Location find_library(const std::string& requested) {
    if (!requested.empty()) return requested_library(requested, is_file);
    const std::string here = executable_directory();
    return first_existing({here + "\\vokari.dll", here + "\\..\\vokari.dll"}, is_file, "the module library vokari.dll",
                          "name it with --library");
}

Location find_module_dir(const std::string& requested) {
    if (!requested.empty()) return requested_module_dir(requested, is_directory, is_file);
    const std::string here = executable_directory();
    // The zip's own folder is the module folder: it holds vokari.txt and the voice.
    for (const std::string& dir : {here + "\\..", here})
        if (is_directory(dir + "\\vokariv0")) return found(dir);
    return not_found("the bundled voice was not found beside " + here + "; name a module directory with --module-dir");
}

}  // namespace say
}  // namespace vokari
