#include "tools/readings/script_text.h"

#include <cctype>
#include <cstring>

#include "base/shift_jis.h"
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

namespace {

// Bytes from text[open] (a '[') through its matching ']', or 0 when it has none.
std::size_t bracket_length(const std::string& text, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == '[') ++depth;
        if (text[i] == ']' && --depth == 0) return i - open + 1;
    }
    return 0;
}

// Names of the voice-control tags after the prefix, the bracketed ones first
// and longer names before the shorter ones they begin with.
const char* const kVoiceTags[] = {"wavouts[", "wavout[", "0<[", "0>[", "0+[", "0-[", "+[", "-[", "u[", "<[", ">[",
                                  "g[",       "p[",      "s[",  "a[",  "0<",  "0>",  "0+", "0-", "+",  "-",  "=",
                                  "<",        ">",       "|",   "n",   "s",   "w",   "b",  "o",  ":",  "e"};

// Length of the backslash tag at text[pos], the backslash included.
std::size_t script_tag_length(const std::string& text, std::size_t pos) {
    std::size_t end = pos + 1;
    if (end >= text.size()) return 1;
    if (text[end] == '\\') return 2;
    if (text[end] == '_' && end + 1 < text.size()) ++end;
    const char name = text[end];
    if (!(std::isalnum(static_cast<unsigned char>(name)) || std::strchr("!*-&", name) != nullptr)) return 1;
    ++end;
    if ((name == 'w' || name == 's') && end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        return end + 1 - pos;
    if (end < text.size() && text[end] == '[') {
        const std::size_t argument = bracket_length(text, end);
        if (argument > 0) return end + argument - pos;
    }
    return end - pos;
}

std::size_t voice_tag_length(const std::string& text, std::size_t pos) {
    for (const char* name : kVoiceTags) {
        const std::size_t length = std::strlen(name);
        if (text.compare(pos + 1, length, name) != 0) continue;
        if (name[length - 1] != '[') return 1 + length;
        const std::size_t argument = bracket_length(text, pos + length);
        if (argument > 0) return length + argument;
    }
    return 1;
}

}  // namespace

std::vector<std::string> spoken_segments(const std::string& utf8, char tag_prefix) {
    std::vector<std::string> segments(1);
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char c = utf8[pos];
        if (c == '\\') {
            pos += script_tag_length(utf8, pos);
            segments.emplace_back();
        } else if (c == tag_prefix) {
            pos += voice_tag_length(utf8, pos);
        } else if (c == '\n' || c == '\r') {
            ++pos;
            segments.emplace_back();
        } else {
            segments.back() += c;
            ++pos;
        }
    }
    std::vector<std::string> spoken;
    for (std::string& segment : segments)
        if (!segment.empty()) spoken.push_back(std::move(segment));
    return spoken;
}

std::vector<std::string> tags_of(const std::string& text, char tag_prefix, bool shift_jis) {
    std::vector<std::string> tags;
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        std::size_t length = 0;
        if (c == '\\') length = script_tag_length(text, pos);
        else if (c == static_cast<unsigned char>(tag_prefix)) length = voice_tag_length(text, pos);
        if (length > 0) {
            tags.push_back(text.substr(pos, length));
            pos += length;
        } else {
            const bool lead = shift_jis && vokari::starts_script_pair(c);  // as the scanner steps
            pos += lead ? 2 : 1;
        }
    }
    return tags;
}

}  // namespace readings
}  // namespace vokari
