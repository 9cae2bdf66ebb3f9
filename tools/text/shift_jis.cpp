// The parts of Shift_JIS that need no conversion table, shared by every build.
#include "tools/text/shift_jis.h"

namespace vokari_text {

std::size_t shift_jis_character_length(const std::string& bytes, std::size_t pos) {
    const unsigned char lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) return 1;
    if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))) return 0;
    if (pos + 1 >= bytes.size()) return 0;
    const unsigned char trail = static_cast<unsigned char>(bytes[pos + 1]);
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return 0;
    return 2;
}

std::optional<std::size_t> first_invalid_shift_jis(const std::string& bytes) {
    const ShiftJisDecoding decoded = shift_jis_to_utf8(bytes);
    if (decoded.ok) return std::nullopt;
    return decoded.bad_offset;
}

}  // namespace vokari_text
