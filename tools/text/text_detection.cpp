// Telling UTF-8 from Shift_JIS, and where each stops fitting.
#include "tools/text/text_detection.h"

#include "tools/text/shift_jis.h"
#include "tools/text/utf8.h"

namespace vokari {
namespace text {

DetectedText detect_text_encoding(const std::string& bytes) {
    DetectedText result;
    const auto bad_utf8 = first_invalid_utf8(bytes);
    if (!bad_utf8) {
        result.ok = true;
        result.utf8 = bytes;
        return result;
    }
    result.bad_utf8 = *bad_utf8;
    ShiftJisDecoding decoded = shift_jis_to_utf8(bytes);
    if (!decoded.ok) {
        result.bad_shift_jis = decoded.bad_offset;
        result.converter_missing = decoded.converter_missing;
        return result;
    }
    result.ok = true;
    result.encoding = TextEncoding::ShiftJis;
    result.utf8 = std::move(decoded.utf8);
    return result;
}

}  // namespace text
}  // namespace vokari
