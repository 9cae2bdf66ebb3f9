// The conversion is iconv's CP932 table: the Windows variant of Shift_JIS,
// which is what oto.ini files are written in.
#include "text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace voicebank {

bool is_valid_utf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int length = 0;
        unsigned long code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(length) > bytes.size()) return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))) return false;
        if (code >= 0xD800 && code <= 0xDFFF) return false;
        i += static_cast<size_t>(length);
    }
    return true;
}

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
