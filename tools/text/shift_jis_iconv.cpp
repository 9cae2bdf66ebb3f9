// Code page 932 conversions through the C library's iconv, whose "CP932"
// table is the Windows one (NEC and IBM rows, user-defined area).
#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "tools/text/shift_jis.h"

namespace vokari {
namespace text {
namespace {

// One iconv descriptor for the life of a conversion.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (usable()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `size` bytes at `in`, appending to `out`.  Returns the number of
    // input bytes consumed: all of them unless a character fails there.
    std::size_t convert(const char* in, std::size_t size, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
        char* src = const_cast<char*>(in);
        std::size_t left = size;
        char buffer[256];
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) break;
        }
        return size - left;
    }

private:
    iconv_t cd_;
};

}  // namespace

ShiftJisDecoding shift_jis_to_utf8(const std::string& bytes) {
    ShiftJisDecoding result;
    Iconv to_utf8("UTF-8", "CP932");
    if (!to_utf8.usable()) {
        result.converter_missing = true;
        return result;
    }
    const std::size_t consumed = to_utf8.convert(bytes.data(), bytes.size(), result.utf8);
    if (consumed != bytes.size()) {
        result.utf8.clear();
        result.bad_offset = consumed;
        return result;
    }
    result.ok = true;
    return result;
}

ShiftJisEncoding utf8_to_shift_jis(const std::string& utf8) {
    Iconv to_cp932("CP932", "UTF-8");
    if (!to_cp932.usable()) {
        ShiftJisEncoding result;
        result.converter_missing = true;
        return result;
    }
    return encode_each_character(utf8, [&to_cp932](char32_t, const std::string& character, std::string& out) {
        return to_cp932.convert(character.data(), character.size(), out) == character.size();
    });
}

}  // namespace text
}  // namespace vokari
