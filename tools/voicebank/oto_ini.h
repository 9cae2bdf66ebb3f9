// Reading an oto.ini file: one entry per line,
//   FILE.wav=ALIAS,OFFSET,CONSONANT,CUTOFF,PREUTTERANCE,OVERLAP
// with times in milliseconds.  The text is Shift_JIS, or UTF-8 with or
// without a byte-order mark; entries come back in UTF-8.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

struct OtoEntry {
    int line = 0;                  // 1-based line number in the file
    std::string file;              // the WAV file named by the entry, UTF-8
    std::string file_bytes;        // the same name as written in the file (before decoding)
    std::string alias;             // the alias; the file name without ".wav" when empty
    double offset_ms = 0.0;        // start of the syllable, from the start of the file
    double consonant_ms = 0.0;     // end of the fixed part, from the offset
    double cutoff_ms = 0.0;        // >= 0: back from the end of the file; < 0: minus the length from the offset
    double preutterance_ms = 0.0;  // start of the vowel (the note), from the offset
    double overlap_ms = 0.0;       // from the offset; may be negative
};

struct OtoProblem {
    int line = 0;  // 1-based; 0 when it concerns the whole file
    std::string message;
};

struct OtoFile {
    std::string encoding;  // "UTF-8 with BOM", "UTF-8" or "Shift_JIS"; empty when it cannot be told
    std::vector<OtoEntry> entries;
    std::vector<OtoProblem> problems;  // broken lines, and a text that is neither encoding
};

// Parses the bytes of an oto.ini.  Lines end in LF, CRLF or CR; blank lines
// are skipped.  A line that is not an entry (no '=', not six fields, a time
// that is not a plain decimal number) becomes a problem with its line
// number.  A text that is neither valid UTF-8 nor valid Shift_JIS gives one
// problem naming the first line that is neither, and no entries.
OtoFile parse_oto_ini(const std::string& bytes);

// Reads a plain decimal number ("12", "-3.5", "+0.25", ".5"): no exponent,
// no hex, no inf or nan, no spaces inside.  False when `text` is not one.
bool parse_decimal(const std::string& text, double& value);

}  // namespace voicebank
}  // namespace vokari
