// UTF-8 <-> code page 932 through the C library's iconv.
#include "tools/vokari-say/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace vokari_say {
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
    // input bytes consumed; errno tells why when that is less than `size`.
    size_t convert(const char* in, size_t size, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
        char* src = const_cast<char*>(in);
        size_t left = size;
        char buffer[256];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            size_t rc = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) break;
        }
        return size - left;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence at `i` and its code point, or 0 when the bytes
// there are not well-formed UTF-8.
size_t utf8_sequence(const std::string& s, size_t i, unsigned long& code_point) {
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    size_t length;
    unsigned long minimum;
    if (lead < 0x80) {
        code_point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code_point = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        code_point = (code_point << 6) | (b & 0x3F);
    }
    if (code_point < minimum || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF))
        return 0;
    return length;
}

std::string code_point_label(unsigned long code_point) {
    char label[16];
    std::snprintf(label, sizeof label, "U+%04lX", code_point);
    return label;
}

Converted failure(std::string message) {
    Converted result;
    result.error = std::move(message);
    return result;
}

// Byte offset of the first byte that is not part of well-formed UTF-8, or
// npos when all of `text` is UTF-8.
size_t first_non_utf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        unsigned long code_point = 0;
        const size_t length = utf8_sequence(text, i, code_point);
        if (length == 0) return i;
        i += length;
    }
    return std::string::npos;
}

}  // namespace

Converted utf8_to_cp932(const std::string& utf8) {
    Iconv to_cp932("CP932", "UTF-8");
    if (!to_cp932.usable()) return failure("this system's iconv has no CP932 conversion");

    static const std::string kFullWidthYen = "\xEF\xBF\xA5";  // U+FFE5
    Converted result;
    std::vector<unsigned long> missing;
    std::string missing_text;
    for (size_t i = 0; i < utf8.size();) {
        unsigned long code_point = 0;
        const size_t length = utf8_sequence(utf8, i, code_point);
        if (length == 0) {
            return failure("the script is not valid UTF-8 (byte " + std::to_string(i) + ")");
        }
        const std::string character = code_point == 0xA5 ? kFullWidthYen : utf8.substr(i, length);
        if (to_cp932.convert(character.data(), character.size(), result.text) != character.size()) {
            bool seen = false;
            for (unsigned long m : missing) seen = seen || m == code_point;
            if (!seen) {
                missing.push_back(code_point);
                if (!missing_text.empty()) missing_text += ", ";
                missing_text += "'" + character + "' (" + code_point_label(code_point) + ")";
            }
        }
        i += length;
    }
    if (!missing.empty()) return failure("no Shift_JIS form for " + missing_text);
    result.ok = true;
    return result;
}

Converted script_file_to_utf8(const std::string& bytes, ScriptEncoding encoding) {
    const size_t bad_utf8 = encoding == ScriptEncoding::ShiftJis ? 0 : first_non_utf8(bytes);
    if (encoding != ScriptEncoding::ShiftJis && bad_utf8 == std::string::npos) {
        Converted same;
        same.ok = true;
        same.text = bytes;
        return same;
    }
    if (encoding == ScriptEncoding::Utf8)
        return failure("the script file is not UTF-8 (byte " + std::to_string(bad_utf8) + ")");
    Converted converted = cp932_to_utf8(bytes);
    if (!converted.ok) {
        converted.error = encoding == ScriptEncoding::ShiftJis
                              ? "the script file is not Shift_JIS: " + converted.error
                              : "the script file is neither UTF-8 (byte " + std::to_string(bad_utf8) +
                                    ") nor Shift_JIS (" + converted.error + ")";
    }
    return converted;
}

Converted cp932_to_utf8(const std::string& cp932) {
    Iconv to_utf8("UTF-8", "CP932");
    if (!to_utf8.usable()) return failure("this system's iconv has no CP932 conversion");

    Converted result;
    const size_t consumed = to_utf8.convert(cp932.data(), cp932.size(), result.text);
    if (consumed != cp932.size()) {
        char bytes[16];
        const unsigned char first = static_cast<unsigned char>(cp932[consumed]);
        if (consumed + 1 < cp932.size()) {
            std::snprintf(bytes, sizeof bytes, "%02X %02X", first,
                          static_cast<unsigned char>(cp932[consumed + 1]));
        } else {
            std::snprintf(bytes, sizeof bytes, "%02X", first);
        }
        return failure("not a Shift_JIS character at byte " + std::to_string(consumed) + " (" +
                       bytes + ")");
    }
    result.ok = true;
    return result;
}

}  // namespace vokari_say
