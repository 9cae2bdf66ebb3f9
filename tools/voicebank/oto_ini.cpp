// The text is decoded as a whole before it is split: in UTF-8 and in
// Shift_JIS alike, '=', ',' and line ends never occur inside a character.
#include "oto_ini.h"

#include "folder_index.h"
#include "tools/text/shift_jis.h"
#include "tools/text/text_detection.h"
#include "tools/text/utf8.h"

namespace vokari {
namespace voicebank {
namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> split_fields(const std::string& text) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1) {
        fields.push_back(text.substr(start, comma - start));
    }
    fields.push_back(text.substr(start));
    return fields;
}

// The 1-based number of the first line of `raw` that fails `valid`; 0 if none.
template <typename Check>
int first_line_failing(const std::string& raw, Check valid) {
    const std::vector<std::string> lines = split_lines(raw);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!valid(lines[i])) return static_cast<int>(i) + 1;
    }
    return 0;
}

bool is_valid_utf8(const std::string& bytes) { return !vokari::text::first_invalid_utf8(bytes); }
bool valid_shift_jis(const std::string& bytes) { return !vokari::text::first_invalid_shift_jis(bytes); }

// One line of decoded text into `file`: an entry, or a problem.
void parse_line(const std::string& line, int number, const std::string& raw_line, OtoFile& file) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
        file.problems.push_back({number, "broken line: no '=' between file name and alias"});
        return;
    }
    const std::vector<std::string> fields = split_fields(line.substr(equals + 1));
    if (fields.size() != 6) {
        file.problems.push_back({number, "broken line: " + std::to_string(fields.size()) +
                                             " fields after '=', expected 6 (alias and five times)"});
        return;
    }
    OtoEntry entry;
    entry.line = number;
    entry.file = trimmed(line.substr(0, equals));
    const size_t raw_equals = raw_line.find('=');
    entry.file_bytes = trimmed(raw_line.substr(0, raw_equals));
    entry.alias = trimmed(fields[0]);
    if (entry.file.empty()) {
        file.problems.push_back({number, "broken line: no file name before '='"});
        return;
    }
    if (entry.alias.empty()) {
        entry.alias = entry.file;
        if (entry.alias.size() > 4 && fold_case(entry.alias.substr(entry.alias.size() - 4)) == ".wav") {
            entry.alias.resize(entry.alias.size() - 4);
        }
    }
    double* const times[] = {&entry.offset_ms, &entry.consonant_ms, &entry.cutoff_ms, &entry.preutterance_ms,
                             &entry.overlap_ms};
    const char* const names[] = {"offset", "consonant", "cutoff", "preutterance", "overlap"};
    for (int k = 0; k < 5; ++k) {
        if (!parse_decimal(trimmed(fields[static_cast<size_t>(k) + 1]), *times[k])) {
            file.problems.push_back({number, std::string("broken line: ") + names[k] + " \"" +
                                                 trimmed(fields[static_cast<size_t>(k) + 1]) +
                                                 "\" is not a number of milliseconds"});
            return;
        }
    }
    file.entries.push_back(entry);
}

}  // namespace

bool parse_decimal(const std::string& text, double& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    double whole = 0.0;
    double fraction = 0.0;
    double scale = 1.0;
    int digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) whole = whole * 10.0 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            scale /= 10.0;
            fraction += (text[i] - '0') * scale;
        }
    }
    if (digits == 0 || i != text.size() || digits > 15) return false;
    value = negative ? -(whole + fraction) : whole + fraction;
    return true;
}

OtoFile parse_oto_ini(const std::string& bytes) {
    OtoFile file;
    std::string raw = bytes;
    if (bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
        raw = bytes.substr(kByteOrderMark.size());
        file.encoding = "UTF-8 with BOM";
    } else if (const vokari::text::DetectedText detected = vokari::text::detect_text_encoding(bytes); detected.ok) {
        file.encoding = detected.encoding == vokari::text::TextEncoding::Utf8 ? "UTF-8" : "Shift_JIS";
    } else {
        const int not_utf8 = first_line_failing(bytes, is_valid_utf8);
        const int not_sjis = first_line_failing(bytes, valid_shift_jis);
        file.problems.push_back({not_utf8 > not_sjis ? not_utf8 : not_sjis,
                                 "cannot tell the encoding: not UTF-8 (from line " + std::to_string(not_utf8) +
                                     ") and not Shift_JIS (from line " + std::to_string(not_sjis) +
                                     "); save the file as UTF-8 or Shift_JIS"});
        return file;
    }
    const std::vector<std::string> raw_lines = split_lines(raw);
    for (size_t i = 0; i < raw_lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        std::string line = raw_lines[i];
        if (file.encoding == "Shift_JIS") {
            line = vokari::text::shift_jis_to_utf8(raw_lines[i]).utf8;
        } else if (!is_valid_utf8(line)) {
            file.problems.push_back({number, "not valid UTF-8 although the file starts with a UTF-8 mark"});
            continue;
        }
        if (trimmed(line).empty()) continue;
        parse_line(line, number, raw_lines[i], file);
    }
    return file;
}

}  // namespace voicebank
}  // namespace vokari
