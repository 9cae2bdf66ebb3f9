// Search paths relative to the running program, with the build's own as the
// last resort.  On Windows vokari.dll and the bundled voice stand beside the
// program or one folder up (the release zip keeps the tools in tools\).
#include "tools/vokari-say/locations.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "tools/text/program_path.h"

namespace vokari {
namespace say {
namespace {
namespace fs = std::filesystem;

bool is_directory(const std::string& path) {
    std::error_code failure;
    return fs::is_directory(fs::u8path(path), failure);
}

bool is_file(const std::string& path) {
    std::error_code failure;
    return fs::is_regular_file(fs::u8path(path), failure);
}

std::string executable_directory() {
    const fs::path program = text::running_program_path();
    return program.empty() ? "." : program.parent_path().u8string();
}

Location found(const std::string& path) {
    Location location;
    location.ok = true;
    std::error_code failure;
    const fs::path absolute = fs::canonical(fs::u8path(path), failure);
    location.path = failure ? path : absolute.u8string();
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
    if (!requested.empty())
        return is_file(requested) ? found(requested) : not_found("module library not found: " + requested);
    const std::string here = executable_directory();
#ifdef _WIN32
    return first_existing({here + "\\vokari.dll", here + "\\..\\vokari.dll"}, is_file, "the module library vokari.dll",
                          "name it with --library");
#else
    return first_existing({here + "/libvokari.so", VOKARI_SAY_BUILT_LIBRARY}, is_file,
                          "the module library libvokari.so", "build it, or name it with --library");
#endif
}

Location find_module_dir(const std::string& requested) {
    if (!requested.empty()) {
        if (is_directory(requested)) return found(requested);
        return not_found(is_file(requested) ? "not a directory: " + requested
                                            : "module directory not found: " + requested);
    }
    const std::string here = executable_directory();
#ifdef _WIN32
    // The zip's own folder is the module folder: it holds vokari.txt and the voice.
    for (const std::string& dir : {here + "\\..", here})
        if (is_directory(dir + "\\vokariv0")) return found(dir);
    return not_found("the bundled voice was not found beside " + here + "; name a module directory with --module-dir");
#else
    return first_existing(
        {here + "/voices/default", here + "/../share/vokari/voices/default", VOKARI_SAY_SOURCE_DIR "/voices/default"},
        is_directory, "the bundled voice", "name a module directory with --module-dir");
#endif
}

}  // namespace say
}  // namespace vokari
