// The parts of Shift_JIS that need no conversion table, shared by every build.
#include "tools/text/shift_jis.h"

#include "base/shift_jis.h"

namespace vokari_text {

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

}  // namespace vokari_text
