// Prints how shift_jis_to_utf8 decodes every single byte and every pair that
// starts with a lead byte: the bytes in hex, then the UTF-8 in hex, or "-"
// when the decoder refuses them.
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

}  // namespace

int main() {
    for (int lead = 0; lead < 256; ++lead) {
        show(std::string(1, static_cast<char>(lead)));
        if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))
            for (int trail = 0; trail < 256; ++trail) show({static_cast<char>(lead), static_cast<char>(trail)});
    }
    return 0;
}
