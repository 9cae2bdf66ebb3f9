// vokari-say's side of the UTF-8 <-> code page 932 conversions: the yen sign,
// and the messages the program prints.
#include "tools/vokari-say/text_encoding.h"

#include <cstdio>

#include "tools/text/shift_jis.h"
#include "tools/text/text_detection.h"
#include "tools/text/utf8.h"

namespace vokari {
namespace say {
namespace {

const char kNoConverter[] = "this system's iconv has no CP932 conversion";

Converted failure(std::string message) { return {false, "", std::move(message)}; }
Converted success(std::string text) { return {true, std::move(text), ""}; }

// "not a Shift_JIS character at byte N (XX YY)": the offset and the one or
// two bytes found there.
std::string not_shift_jis_message(const std::string& cp932, size_t offset) {
    char bytes[16];
    const unsigned char first = static_cast<unsigned char>(cp932[offset]);
    if (offset + 1 < cp932.size()) {
        std::snprintf(bytes, sizeof bytes, "%02X %02X", first, static_cast<unsigned char>(cp932[offset + 1]));
    } else {
        std::snprintf(bytes, sizeof bytes, "%02X", first);
    }
    return "not a Shift_JIS character at byte " + std::to_string(offset) + " (" + bytes + ")";
}

// Well-formed UTF-8 with every yen sign (U+00A5) made the full-width yen
// sign (U+FFE5).  Its two bytes cannot occur inside another character.
std::string with_full_width_yen(std::string utf8) {
    for (size_t at = 0; (at = utf8.find("\xC2\xA5", at)) != std::string::npos; at += 3)
        utf8.replace(at, 2, "\xEF\xBF\xA5");
    return utf8;
}

}  // namespace

Converted utf8_to_cp932(const std::string& utf8) {
    const bool well_formed = !vokari::text::first_invalid_utf8(utf8);
    const vokari::text::ShiftJisEncoding encoded =
        vokari::text::utf8_to_shift_jis(well_formed ? with_full_width_yen(utf8) : utf8);
    if (encoded.converter_missing) return failure(kNoConverter);
    if (encoded.bad_utf8)
        return failure("the script is not valid UTF-8 (byte " + std::to_string(*encoded.bad_utf8) + ")");
    if (!encoded.ok) return failure("no Shift_JIS form for " + encoded.unconvertible);
    return success(encoded.shift_jis);
}

Converted script_file_to_utf8(const std::string& bytes, ScriptEncoding encoding) {
    if (encoding == ScriptEncoding::ShiftJis) {
        Converted converted = cp932_to_utf8(bytes);
        if (!converted.ok) converted.error = "the script file is not Shift_JIS: " + converted.error;
        return converted;
    }
    if (encoding == ScriptEncoding::Utf8) {
        const auto bad = vokari::text::first_invalid_utf8(bytes);
        if (bad) return failure("the script file is not UTF-8 (byte " + std::to_string(*bad) + ")");
        return success(bytes);
    }
    vokari::text::DetectedText detected = vokari::text::detect_text_encoding(bytes);
    if (detected.ok) return success(std::move(detected.utf8));
    const std::string not_shift_jis =
        detected.converter_missing ? kNoConverter : not_shift_jis_message(bytes, detected.bad_shift_jis);
    return failure("the script file is neither UTF-8 (byte " + std::to_string(detected.bad_utf8) + ") nor Shift_JIS (" +
                   not_shift_jis + ")");
}

Converted cp932_to_utf8(const std::string& cp932) {
    vokari::text::ShiftJisDecoding decoded = vokari::text::shift_jis_to_utf8(cp932);
    if (decoded.converter_missing) return failure(kNoConverter);
    if (!decoded.ok) return failure(not_shift_jis_message(cp932, decoded.bad_offset));
    return success(std::move(decoded.utf8));
}

}  // namespace say
}  // namespace vokari
