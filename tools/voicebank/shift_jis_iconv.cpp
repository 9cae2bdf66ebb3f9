// Shift_JIS decoding through iconv's CP932 table: the Windows variant of
// Shift_JIS, which is what oto.ini files are written in.
#include <iconv.h>

#include "text_encoding.h"

namespace voicebank {

bool shift_jis_to_utf8(const std::string& bytes, std::string& utf8) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input = bytes;
    std::string output(bytes.size() * 3 + 4, '\0');
    char* in = input.data();
    size_t in_left = input.size();
    char* out = output.data();
    size_t out_left = output.size();
    const size_t result = iconv(converter, &in, &in_left, &out, &out_left);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1) || in_left != 0) return false;
    utf8.assign(output.data(), output.size() - out_left);
    return true;
}

}  // namespace voicebank
