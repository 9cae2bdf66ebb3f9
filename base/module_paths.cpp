// The module directory and the paths formed from it.
#include "base/module_paths.h"

#include <cstring>

namespace vokari {

// out: kPathCapacity bytes.  Writes "<module_dir>\<relative>" and returns true,
// or leaves `out` empty and returns false when the path does not fit.
bool format_module_path(const char* module_dir, char* out, const char* relative) {
    const std::size_t directory_length = std::strlen(module_dir);
    const std::size_t relative_length = std::strlen(relative);
    if (directory_length + 1 + relative_length + 1 > kPathCapacity) {
        out[0] = '\0';
        return false;
    }
    std::memcpy(out, module_dir, directory_length);
    out[directory_length] = '\\';
    std::memcpy(out + directory_length + 1, relative, relative_length + 1);
    return true;
}

}  // namespace vokari
