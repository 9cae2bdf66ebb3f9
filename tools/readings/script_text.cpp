// Script files as the reading builder reads them: their encoding found out,
// and their spoken segments and tags through the module's script syntax.
#include "tools/readings/script_text.h"

#include "base/script_syntax.h"
#include "tools/text/text_detection.h"

namespace vokari {
namespace readings {

bool decode_script(const std::string& bytes, std::string& utf8, std::string& error) {
    const vokari::text::DetectedText detected = vokari::text::detect_text_encoding(bytes);
    if (detected.ok) {
        const bool byte_order_mark =
            detected.encoding == vokari::text::TextEncoding::Utf8 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
        utf8 = byte_order_mark ? detected.utf8.substr(3) : detected.utf8;
        return true;
    }
    const std::size_t bad_utf8 = detected.bad_utf8, bad_sjis = detected.bad_shift_jis;
    const std::size_t offset = bad_utf8 > bad_sjis ? bad_utf8 : bad_sjis;
    error = "neither UTF-8 nor Shift_JIS (UTF-8 fails at byte " + std::to_string(bad_utf8) + ", Shift_JIS at byte " +
            std::to_string(bad_sjis) + "; the file fails at byte " + std::to_string(offset) + ")";
    return false;
}

std::vector<std::string> spoken_segments(const std::string& utf8, char tag_prefix) {
    std::vector<std::string> segments(1);
    ScriptTokenizer tokens(utf8, static_cast<unsigned char>(tag_prefix), TextEncoding::Utf8);
    ScriptToken token;
    while (tokens.next(token)) {
        if (token.kind == TokenKind::ScriptTag) segments.emplace_back();
        if (token.kind != TokenKind::Text) continue;
        for (std::int32_t pos = token.pos; pos < token.end(); ++pos) {
            const char c = utf8[static_cast<std::size_t>(pos)];
            if (c == '\n' || c == '\r') segments.emplace_back();
            else segments.back() += c;
        }
    }
    std::vector<std::string> spoken;
    for (std::string& segment : segments)
        if (!segment.empty()) spoken.push_back(std::move(segment));
    return spoken;
}

std::vector<std::string> tags_of(const std::string& text, char tag_prefix, bool shift_jis) {
    std::vector<std::string> tags;
    ScriptTokenizer tokens(text, static_cast<unsigned char>(tag_prefix),
                           shift_jis ? TextEncoding::ShiftJis : TextEncoding::Utf8);
    ScriptToken token;
    while (tokens.next(token))
        if (token.kind != TokenKind::Text)
            tags.push_back(text.substr(static_cast<std::size_t>(token.pos), static_cast<std::size_t>(token.span)));
    return tags;
}

}  // namespace readings
}  // namespace vokari
