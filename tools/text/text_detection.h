// Telling whether a file's text is UTF-8 or Shift_JIS (code page 932).
#pragma once

#include <cstddef>
#include <string>

namespace vokari {
namespace text {

enum class TextEncoding { Utf8, ShiftJis };

struct DetectedText {
    bool ok = false;  // UTF-8 or Shift_JIS
    TextEncoding encoding = TextEncoding::Utf8;
    std::string utf8;                // the text as UTF-8, when ok (a byte-order mark kept)
    std::size_t bad_utf8 = 0;        // when not UTF-8: offset of the first byte that is not
    std::size_t bad_shift_jis = 0;   // when neither: offset of the first byte that is not Shift_JIS
    bool converter_missing = false;  // when neither: this system cannot convert code page 932
};

// A whole file's bytes in; the text as UTF-8 out.  Bytes that are valid UTF-8
// are taken for UTF-8, others for Shift_JIS: Japanese text in Shift_JIS is
// practically never valid UTF-8, while ASCII is both.  Fails when the bytes
// are neither, with the offset where each reading fails.
DetectedText detect_text_encoding(const std::string& bytes);

}  // namespace text
}  // namespace vokari
