// Shift_JIS as Windows writes it (code page 932): the byte layout of its
// characters, checking bytes for it, and converting to and from UTF-8.  The
// conversions are done by iconv on the desktop and by the browser's own
// decoder in the web build, whose C library has no code page 932.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace vokari {
namespace text {

// Number of bytes (1 or 2) of the character starting at bytes[pos], or 0
// when the bytes there cannot start one: 0x80, 0xA0 and 0xFD-0xFF lead
// nothing, a lead byte (0x81-0x9F, 0xE0-0xFC) needs a trail byte 0x40-0x7E or
// 0x80-0xFC after it.  Says nothing of whether the code page assigns the pair.
std::size_t shift_jis_character_length(const std::string& bytes, std::size_t pos);

// Code page 932 bytes turned into UTF-8.
struct ShiftJisDecoding {
    bool ok = false;
    std::string utf8;                // the text, when ok
    std::size_t bad_offset = 0;      // when not ok: byte offset of the first character that fails
    bool converter_missing = false;  // when not ok: this system cannot convert code page 932 at all
};

// Code page 932 bytes in, UTF-8 out; fails at the first byte or pair that is
// no character of the code page (including a lead byte cut off at the end).
ShiftJisDecoding shift_jis_to_utf8(const std::string& bytes);

// Byte offset of the first byte of `bytes` that is not code page 932 text,
// or nothing when all of it is.
std::optional<std::size_t> first_invalid_shift_jis(const std::string& bytes);

// UTF-8 turned into code page 932 bytes.
struct ShiftJisEncoding {
    bool ok = false;
    std::string shift_jis;                // the bytes, when ok
    std::optional<std::size_t> bad_utf8;  // byte offset of the first byte that is not UTF-8
    std::string unconvertible;            // the characters without a form: "'☃' (U+2603), ..."
    bool converter_missing = false;       // this system cannot convert code page 932 at all
};

// UTF-8 text in, code page 932 bytes out (desktop only).  Fails at the first
// byte that is not UTF-8, or, when the text is UTF-8, on the characters that
// have no form in the code page, which `unconvertible` names each once, in
// the order they first appear, with their code points.  The characters with
// a JIS and a Windows Unicode form take the Windows bytes from either.
ShiftJisEncoding utf8_to_shift_jis(const std::string& utf8);

// The walk both desktop converters share: `utf8` character by character,
// each appended to the output by `encode_one(code point, its UTF-8, out)`,
// which is false when the code page has no form for it.  The six characters
// whose JIS and Windows Unicode forms differ (〜 ～, − －, ‖ ∥, ¢ ￠, £ ￡,
// ¬ ￢) reach `encode_one` in their Windows form, so either form converts.
ShiftJisEncoding encode_each_character(
    const std::string& utf8, const std::function<bool(char32_t, const std::string&, std::string&)>& encode_one);

}  // namespace text
}  // namespace vokari
