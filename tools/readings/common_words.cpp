// Reading EDICT's common words and the forms their verbs and adjectives take.
#include "tools/readings/common_words.h"

#include <sstream>
#include <vector>

#include "tools/readings/japanese_text.h"

namespace vokari {
namespace readings {

namespace {

// The kana that end a godan verb's forms, per its dictionary-form ending:
// the a-, i-, u-, e- and o-forms and the form before て/た.
struct GodanRow {
    const char* type;
    const char* forms[6];
};
const GodanRow kGodanRows[] = {
    {"v5k", {"か", "き", "く", "け", "こ", "い"}}, {"v5k-s", {"か", "き", "く", "け", "こ", "っ"}},
    {"v5g", {"が", "ぎ", "ぐ", "げ", "ご", "い"}}, {"v5s", {"さ", "し", "す", "せ", "そ", "し"}},
    {"v5t", {"た", "ち", "つ", "て", "と", "っ"}}, {"v5n", {"な", "に", "ぬ", "ね", "の", "ん"}},
    {"v5b", {"ば", "び", "ぶ", "べ", "ぼ", "ん"}}, {"v5m", {"ま", "み", "む", "め", "も", "ん"}},
    {"v5r", {"ら", "り", "る", "れ", "ろ", "っ"}}, {"v5u", {"わ", "い", "う", "え", "お", "っ"}},
};

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The word classes of an entry: the codes in the parentheses that open its
// first sense, e.g. "v5k-s" and "vi" of "(v5k-s,vi)".
std::vector<std::string> word_classes(const std::string& glosses) {
    std::vector<std::string> classes;
    const std::size_t open = glosses.find('(');
    const std::size_t close = glosses.find(')');
    if (open != 1 || close == std::string::npos) return classes;  // glosses start "/("
    std::istringstream codes(glosses.substr(open + 1, close - open - 1));
    for (std::string code; std::getline(codes, code, ',');) classes.push_back(code);
    return classes;
}

void add(std::map<std::string, std::string>& words, const std::string& form, const std::string& reading) {
    if (holds_kanji(form) && !reading.empty()) words.emplace(form, reading);  // the first reading wins
}

}  // namespace

std::map<std::string, std::string> read_common_words(const std::string& path, std::string& error) {
    std::map<std::string, std::string> words;
    std::vector<std::string> lines;
    if (!read_euc_jp_lines(path, "edict", lines, error)) return words;
    for (const std::string& line : lines) {
        // 学校 [がっこう] /(n) school/(P)/
        const std::size_t open = line.find(" [");
        const std::size_t close = line.find("] /");
        if (open == std::string::npos || close == std::string::npos || close < open) continue;
        if (line.find("/(P)/") == std::string::npos) continue;
        const std::string headword = line.substr(0, open);
        const std::string reading = katakana_to_hiragana(line.substr(open + 2, close - open - 2));
        // Headwords ending in は are greetings (今日は こんにちは); in a script
        // the は after a word is mostly the particle.
        if (!holds_kanji(headword) || !is_all_kana(reading) || ends_with(headword, "は")) continue;
        const std::vector<std::string> classes = word_classes(line.substr(close + 2));
        bool inflected = false;
        for (const std::string& code : classes) {
            // A stem of one kanji alone would take that kanji everywhere:
            // it is written with the kana that follow it instead.
            const auto add_stem = [&](const std::string& stem, const std::string& reading_stem,
                                      std::initializer_list<const char*> endings) {
                if (character_count(stem) > 1) {
                    add(words, stem, reading_stem);
                } else {
                    for (const char* kana : endings) add(words, stem + kana, reading_stem + kana);
                }
                inflected = true;
            };
            if (code == "v1" && ends_with(headword, "る") && ends_with(reading, "る")) {
                add_stem(headword.substr(0, headword.size() - 3), reading.substr(0, reading.size() - 3),
                         {"る", "れ", "ろ", "よ", "た", "て", "な", "ま", "ず", "ら", "さ"});
            } else if (code == "adj-i" && ends_with(headword, "い") && ends_with(reading, "い")) {
                add_stem(headword.substr(0, headword.size() - 3), reading.substr(0, reading.size() - 3),
                         {"い", "く", "か", "け", "さ", "そ"});
            }
            for (const GodanRow& row : kGodanRows) {
                if (code != row.type || !ends_with(headword, row.forms[2]) || !ends_with(reading, row.forms[2]))
                    continue;
                const std::string stem = headword.substr(0, headword.size() - 3);
                const std::string reading_stem = reading.substr(0, reading.size() - 3);
                for (const char* kana : row.forms) add(words, stem + kana, reading_stem + kana);
                inflected = true;
            }
            if (inflected) break;
        }
        if (!inflected) add(words, headword, reading);
    }
    if (words.empty()) error = path + " holds no common words";
    return words;
}

}  // namespace readings
}  // namespace vokari
