// Path mapping on Linux: the module writes Windows paths ("dir\\name"); a
// backslash separator becomes '/'.  Shift_JIS double-byte characters are
// copied whole, so a trail byte 0x5C (as in the kanji 0x95 0x5C) stays.
#include <cstring>

#include "base/shift_jis.h"
#include "platform/platform.h"

namespace vokari {
namespace platform {

// path: NUL-terminated Windows-style path.  Writes the Linux path into `out`
// (out_size bytes); `out` is left empty when the mapped path does not fit.
void native_path(const char* path, char* out, std::size_t out_size) {
    if (out_size == 0) return;
    const std::size_t length = std::strlen(path);
    if (length + 1 > out_size) {
        out[0] = '\0';
        return;
    }
    std::size_t i = 0;
    while (i < length) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (sjis_char_size(path, i, length) == 2) {
            out[i] = path[i];
            out[i + 1] = path[i + 1];
            i += 2;
            continue;
        }
        out[i] = byte == '\\' ? '/' : path[i];
        ++i;
    }
    out[length] = '\0';
}

}  // namespace platform
}  // namespace vokari
