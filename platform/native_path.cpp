// The path as the operating system wants it, in a buffer of the caller's.
#include <cstring>

#include "platform/path_separators.h"
#include "platform/platform.h"

namespace vokari {
namespace platform {

// `out` is left empty when the path does not fit.
void native_path(const char* path, char* out, std::size_t out_size) {
    if (out_size == 0) return;
    const std::size_t length = std::strlen(path);
    if (length + 1 > out_size) {
        out[0] = '\0';
        return;
    }
    std::memcpy(out, path, length + 1);
    to_native_separators(out, length);
}

}  // namespace platform
}  // namespace vokari
