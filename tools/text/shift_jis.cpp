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

// Six characters of the JIS rows have two Unicode forms: the one the JIS
// mapping gives and the one Windows gives.  Editors type either; the code
// page's converters know only the Windows form, which is what the host's own
// scripts hold, so the JIS form is converted as that.
struct TwoForms {
    char32_t jis;
    char32_t windows;
    const char* windows_utf8;
};
constexpr TwoForms kTwoForms[] = {
    {U'\u301C', U'\uFF5E', "\xEF\xBD\x9E"},  // wave dash 〜 as ～
    {U'\u2212', U'\uFF0D', "\xEF\xBC\x8D"},  // minus sign − as －
    {U'\u2016', U'\u2225', "\xE2\x88\xA5"},  // double vertical line ‖ as ∥
    {U'\u00A2', U'\uFFE0', "\xEF\xBF\xA0"},  // cent sign ¢ as ￠
    {U'\u00A3', U'\uFFE1', "\xEF\xBF\xA1"},  // pound sign £ as ￡
    {U'\u00AC', U'\uFFE2', "\xEF\xBF\xA2"},  // not sign ¬ as ￢
};

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
        char32_t encoded = code_point;
        std::string character = utf8.substr(start, length);
        for (const TwoForms& forms : kTwoForms) {
            if (code_point != forms.jis) continue;
            encoded = forms.windows;
            character = forms.windows_utf8;
        }
        if (encode_one(encoded, character, result.shift_jis)) continue;
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
