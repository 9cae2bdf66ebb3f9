// One reading for each kanji of kanjidic.
#include "tools/readings/kanji_readings.h"

#include <sstream>
#include <vector>

#include "tools/readings/japanese_text.h"

namespace vokari {
namespace readings {

namespace {

// True when every character of `field` is kana or one of the marks kanjidic
// puts in readings ('.' before okurigana, '-' for prefixes and suffixes).
bool is_reading_field(const std::string& field, bool& katakana) {
    std::size_t pos = 0;
    char32_t c;
    bool any_kana = false;
    katakana = false;
    while (pos < field.size()) {
        if (!next_utf8(field, pos, c)) return false;
        if (c == '.' || c == '-') continue;
        if (is_katakana(c)) {
            katakana = true;
        } else if (!is_hiragana(c)) {
            return false;
        }
        any_kana = true;
    }
    return any_kana;
}

}  // namespace

std::map<std::string, std::string> read_kanjidic(const std::string& path, std::string& error) {
    std::map<std::string, std::string> readings;
    std::vector<std::string> lines;
    if (!read_euc_jp_lines(path, "kanjidic", lines, error)) return readings;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kanji, jis, field, on, kun;
        if (!(fields >> kanji >> jis)) continue;
        while (fields >> field) {
            if (field == "T1" || field == "T2" || field[0] == '{') break;  // name readings and meanings follow
            bool katakana;
            if (!is_reading_field(field, katakana)) continue;
            if (katakana && on.empty()) on = field;
            if (!katakana && kun.empty()) kun = field;
        }
        std::string chosen = !on.empty() ? katakana_to_hiragana(on) : kun;
        const std::size_t dot = chosen.find('.');
        if (dot != std::string::npos) chosen.erase(dot);
        std::string clean;
        for (const char c : chosen)
            if (c != '-') clean += c;
        if (!clean.empty()) readings[kanji] = clean;
    }
    if (readings.empty()) error = path + " holds no kanji readings";
    return readings;
}

}  // namespace readings
}  // namespace vokari
