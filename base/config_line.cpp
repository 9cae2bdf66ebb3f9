// One line of a configuration text: blanks, trailing comments and the
// key/value split.  Texts are Shift_JIS; the routines step over double-byte
// characters whole, so a trail byte never counts as a blank, a quote escape or
// a separator.
#include "base/config_line.h"

#include <cstring>

#include "base/shift_jis.h"
#include "base/text_routines.h"

namespace vokari {

namespace {

// Bytes of the blank starting at text[i] (space, tab: 1; full-width space
// 0x81 0x40: 2), or 0 when no blank starts there.
int blank_size(const char* text, std::size_t i) {
    if (text[i] == ' ' || text[i] == '\t') return 1;
    if (static_cast<unsigned char>(text[i]) == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40) return 2;
    return 0;
}

// Counts the double quotes in line[0, end) that do not directly follow a
// backslash character; `length` is the length of the whole line.
int count_unescaped_quotes(const char* line, std::size_t length, std::size_t end) {
    int count = 0;
    bool after_backslash = false;
    for (std::size_t i = 0; i < end;) {
        const std::size_t size = sjis_char_size(line, i, length);
        if (size == 1) {
            if (line[i] == '"' && !after_backslash) ++count;
            after_backslash = line[i] == '\\';
        } else {
            after_backslash = false;
        }
        i += size;
    }
    return count;
}

}  // namespace

// Removes spaces, tabs and full-width spaces from both ends of the
// NUL-terminated `text`, in place.
void trim_blanks(char* text) {
    std::size_t start = 0;
    for (int size; (size = blank_size(text, start)) > 0;) start += static_cast<std::size_t>(size);
    const std::size_t length = std::strlen(text);
    std::size_t end = start;  // end of the last character that is not a blank
    for (std::size_t i = start; i < length;) {
        const int blank = blank_size(text, i);
        i += blank > 0 ? static_cast<std::size_t>(blank) : sjis_char_size(text, i, length);
        if (blank == 0) end = i;
    }
    std::memmove(text, text + start, end - start);
    text[end - start] = '\0';
}

// The same trimming for a growable string (request header names and values).
void trim_blanks(std::string& text) {
    trim_blanks(text.data());
    text.resize(std::strlen(text.c_str()));
}

// Cuts `line` (NUL-terminated, edited in place) at a "//" that follows a space
// or tab outside double quotes, then trims it.  A "//" at the very start, one
// glued to the text before it, or one between quotes stays.
void strip_comment(char* line) {
    const int length = static_cast<int>(std::strlen(line));
    int from = 0;
    while (from < length) {
        const int at = find_from(line, length, from, "//", 2);
        if (at <= 0) return;
        const char before = line[at - 1];
        if (count_unescaped_quotes(line, static_cast<std::size_t>(length), static_cast<std::size_t>(at)) % 2 == 0 &&
            (before == ' ' || before == '\t')) {
            line[at] = '\0';
            trim_blanks(line);
            return;
        }
        from = at + 2;
    }
}

// line: NUL-terminated.  The separator is looked for character by character,
// so that it never matches the trail byte of a double-byte character.
std::optional<KeyValue> split_key_value(const char* line, const char* separator) {
    const int length = static_cast<int>(std::strlen(line));
    const int separator_length = static_cast<int>(std::strlen(separator));
    int at = find_from(line, length, 0, separator, separator_length);
    while (at >= 0 &&
           count_unescaped_quotes(line, static_cast<std::size_t>(length), static_cast<std::size_t>(at) + 1) % 2 != 0)
        at = find_from(line, length, at + 1, separator, separator_length);
    if (at < 0) return std::nullopt;
    KeyValue split{std::string(line, static_cast<std::size_t>(at)), std::string(line + at + separator_length)};
    trim_blanks(split.key);
    trim_blanks(split.value);
    return split;
}

bool config_line_content(const std::string& line, std::vector<char>& out) {
    if (line.empty() || line.compare(0, 2, "//") == 0) return false;
    out.assign(line.c_str(), line.c_str() + line.size() + 1);
    strip_comment(out.data());
    return true;
}

}  // namespace vokari
