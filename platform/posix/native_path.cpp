// Path separators on Linux: the module writes Windows paths ("dir\\name"); a
// backslash separator becomes '/'.  Shift_JIS double-byte characters are
// stepped over whole, so a trail byte 0x5C (as in the kanji 0x95 0x5C) stays.
#include "base/shift_jis.h"
#include "platform/path_separators.h"

namespace vokari {
namespace platform {

void to_native_separators(char* path, std::size_t length) {
    for (std::size_t i = 0; i < length; i += sjis_char_size(path, i, length))
        if (path[i] == '\\') path[i] = '/';
}

}  // namespace platform
}  // namespace vokari
