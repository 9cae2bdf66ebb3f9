// Search paths relative to the running program, with compiled-in fallbacks.
#include "tools/vokari-say/locations.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "tools/vokari-say/location_search.h"

namespace vokari {
namespace say {
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

}  // namespace

std::string absolute_path(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

Location find_library(const std::string& requested) {
    if (!requested.empty()) return requested_library(requested, is_file);
    return first_existing({executable_directory() + "/libvokari.so", VOKARI_SAY_BUILT_LIBRARY}, is_file,
                          "the module library libvokari.so", "build it, or name it with --library");
}

Location find_module_dir(const std::string& requested) {
    if (!requested.empty()) return requested_module_dir(requested, is_directory, is_file);
    const std::string here = executable_directory();
    return first_existing(
        {here + "/voices/default", here + "/../share/vokari/voices/default", VOKARI_SAY_SOURCE_DIR "/voices/default"},
        is_directory, "the bundled voice", "name a module directory with --module-dir");
}

}  // namespace say
}  // namespace vokari
