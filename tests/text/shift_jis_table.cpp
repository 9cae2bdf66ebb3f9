// Prints how shift_jis_to_utf8 decodes every single byte and every pair that
// starts with a lead byte: the bytes in hex, then the UTF-8 in hex, or "-"
// when the decoder refuses them.  Then how utf8_to_shift_jis encodes the
// characters that have both a JIS and a Windows Unicode form: "U+301C 8160".
#include <cstdio>
#include <string>

#include "tools/text/shift_jis.h"

namespace {

void show(const std::string& bytes) {
    for (unsigned char byte : bytes) std::printf("%02X", byte);
    const vokari::text::ShiftJisDecoding decoded = vokari::text::shift_jis_to_utf8(bytes);
    if (!decoded.ok) {
        std::printf(" -\n");
        return;
    }
    std::printf(" ");
    for (unsigned char byte : decoded.utf8) std::printf("%02x", byte);
    std::printf("\n");
}

void show_encoding(char32_t code_point, const std::string& utf8) {
    std::printf("U+%04X", static_cast<unsigned>(code_point));
    const vokari::text::ShiftJisEncoding encoded = vokari::text::utf8_to_shift_jis(utf8);
    if (!encoded.ok) {
        std::printf(" -\n");
        return;
    }
    std::printf(" ");
    for (unsigned char byte : encoded.shift_jis) std::printf("%02X", byte);
    std::printf("\n");
}

}  // namespace

int main() {
    for (int lead = 0; lead < 256; ++lead) {
        show(std::string(1, static_cast<char>(lead)));
        if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))
            for (int trail = 0; trail < 256; ++trail) show({static_cast<char>(lead), static_cast<char>(trail)});
    }
    const struct {
        char32_t code_point;
        const char* utf8;
    } two_forms[] = {{0x301C, "〜"}, {0xFF5E, "～"}, {0x2212, "−"}, {0xFF0D, "－"}, {0x2016, "‖"}, {0x2225, "∥"},
                     {0x00A2, "¢"},  {0xFFE0, "￠"}, {0x00A3, "£"}, {0xFFE1, "￡"}, {0x00AC, "¬"}, {0xFFE2, "￢"}};
    for (const auto& character : two_forms) show_encoding(character.code_point, character.utf8);
    return 0;
}
