// The parts of Shift_JIS that need no conversion table, shared by every build.
#include "tools/text/shift_jis.h"

#include <cstdio>
#include <vector>

#include "base/shift_jis.h"
#include "tools/text/utf8.h"

namespace vokari {
namespace text {
namespace {

std::string code_point_label(char32_t code_point) {
    char label[16];
    std::snprintf(label, sizeof label, "U+%04lX", static_cast<unsigned long>(code_point));
    return label;
}

}  // namespace


std::size_t shift_jis_character_length(const std::string& bytes, std::size_t pos) {
    const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
    if (!vokari::starts_script_pair(lead)) return 1;
    if (!vokari::is_sjis_lead(lead) || pos + 1 >= bytes.size()) return 0;
    return vokari::is_sjis_trail(static_cast<unsigned char>(bytes[pos + 1])) ? 2 : 0;
}

std::optional<std::size_t> first_invalid_shift_jis(const std::string& bytes) {
    const ShiftJisDecoding decoded = shift_jis_to_utf8(bytes);
    if (decoded.ok) return std::nullopt;
    return decoded.bad_offset;
}

ShiftJisEncoding encode_each_character(
    const std::string& utf8, const std::function<bool(char32_t, const std::string&, std::string&)>& encode_one) {
    ShiftJisEncoding result;
    // Character by character, so that every character without a form is
    // found, not only the first.
    std::vector<char32_t> missing;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        char32_t code_point = 0;
        if (!next_utf8(utf8, pos, code_point)) {
            result.bad_utf8 = start;
            result.shift_jis.clear();
            result.unconvertible.clear();
            return result;
        }
        const std::size_t length = pos - start;
        if (encode_one(code_point, utf8.substr(start, length), result.shift_jis)) continue;
        bool seen = false;
        for (char32_t m : missing) seen = seen || m == code_point;
        if (seen) continue;
        missing.push_back(code_point);
        if (!result.unconvertible.empty()) result.unconvertible += ", ";
        result.unconvertible += "'" + utf8.substr(start, length) + "' (" + code_point_label(code_point) + ")";
    }
    if (!missing.empty()) {
        result.shift_jis.clear();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace text
}  // namespace vokari
