// The common line loop of every configuration reader, and its check of
// whether a file was saved as UTF-8 (the lines themselves are read by
// base/config_line.cpp).
#include <cstring>
#include <vector>

#include "base/config_line.h"
#include "base/text_routines.h"
#include "platform/platform.h"
#include "voice_data/config_text.h"

namespace vokari {

namespace {

// Where the UTF-8 reading of `text` stands after its bytes.
struct Utf8Reading {
    bool valid = true;        // no byte so far breaks UTF-8
    bool multi_byte = false;  // at least one character of two or more bytes
};

// Bytes of the valid UTF-8 character at text[i] (1 to 4), or 0 when none
// starts there: stray continuation bytes, overlong forms, surrogates and
// code points past U+10FFFF do not count.
std::size_t utf8_char_size(const unsigned char* text, std::size_t i, std::size_t length) {
    const unsigned char b = text[i];
    if (b < 0x80) return 1;
    std::size_t size;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        size = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        size = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        size = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + size > length || text[i + 1] < low || text[i + 1] > high) return 0;
    for (std::size_t k = 2; k < size; ++k)
        if (text[i + k] < 0x80 || text[i + k] > 0xBF) return 0;
    return size;
}

// Adds the bytes of one line to `reading`.  A line ends at a line feed, which
// no multi-byte character contains, so lines can be judged one by one.
void read_as_utf8(const std::string& line, Utf8Reading& reading) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    for (std::size_t i = 0; reading.valid && i < line.size();) {
        const std::size_t size = utf8_char_size(bytes, i, line.size());
        if (size == 0) reading.valid = false;
        if (size > 1) reading.multi_byte = true;
        i += size;
    }
}

}  // namespace

// Reads `path` in text mode and calls `on_line` with a scratch copy of every
// line that is neither empty nor a "//" comment line, its trailing comment
// removed.  Every line read, skipped or not, is also checked as UTF-8: a
// file that an editor saved as UTF-8 loads all the same, but its kana never
// match, and the caller can say so.  Shift_JIS kana text is not valid UTF-8
// in practice: a full-width kana starts with 0x82 or 0x83 and most half-width
// kana are 0xA1-0xBF, all UTF-8 continuation bytes that only a lead byte just
// before them may follow; a whole file of kana passing is out of reach.  Pure
// ASCII reads as both and is not reported: it has no multi-byte character.
ConfigFileRead for_each_config_line(const char* path, const std::function<void(char* line)>& on_line) {
    ConfigFileRead read;
    const platform::ScopedFile file(platform::open_file(path, "rt"));
    if (file == nullptr) return read;
    read.opened = true;
    Utf8Reading utf8;
    std::string line;
    std::vector<char> scratch;
    while (read_line(file.get(), line) != -1) {
        read_as_utf8(line, utf8);
        strip_last_char(line, '\n');
        if (config_line_content(line, scratch)) on_line(scratch.data());
    }
    read.utf8_text = utf8.valid && utf8.multi_byte;
    return read;
}

}  // namespace vokari
