// The pairs that read digit strings and counted numbers aloud.
#include "tools/readings/number_pairs.h"

#include <algorithm>
#include <map>

#include "tools/readings/japanese_text.h"

namespace vokari {
namespace readings {

namespace {

// How a counter's first sound changes after the digits.
enum class Row {
    Plain,  // no change
    K,      // 1, 6, 8, 10 and 100 take a small tsu: いっこ, ろっこ, じゅっこ, ひゃっこ
    S,      // 1, 8 and 10 take a small tsu: いっさい, はっさい, じゅっさい
    T,      // like S: いってん, じゅってん
    H,      // 1, 6, 8, 10, 100 take a small tsu and p; 3 and 1000 voice it
};

struct Counter {
    const char* text;
    const char* kana;  // plain reading
    Row row;
    const char* p_form;                // H: after a small tsu (ぷん)
    const char* n_form;                // H: after ん (さんぼん, せんぼん)
    const char* four;                  // reading of 4 with the counter, or null for よん + kana
    std::map<int, const char*> units;  // whole readings of single digits
    bool units_alone = false;          // units hold only for a number of one digit (ひとり, ふつか)
};

const char* const kDigits[] = {"ぜろ", "いち", "に", "さん", "よん", "ご", "ろく", "なな", "はち", "きゅう"};
const char* const kHundreds[] = {"",         "ひゃく",     "にひゃく",   "さんびゃく", "よんひゃく",
                                 "ごひゃく", "ろっぴゃく", "ななひゃく", "はっぴゃく", "きゅうひゃく"};
const char* const kHundredsTsu[] = {"",         "ひゃっ",     "にひゃっ",   "さんびゃっ", "よんひゃっ",
                                    "ごひゃっ", "ろっぴゃっ", "ななひゃっ", "はっぴゃっ", "きゅうひゃっ"};
const char* const kThousands[] = {"",       "せん",     "にせん",   "さんぜん", "よんせん",
                                  "ごせん", "ろくせん", "ななせん", "はっせん", "きゅうせん"};

const std::vector<Counter>& counters() {
    static const std::vector<Counter> table = {
        {"時", "じ", Row::Plain, "", "", "よじ", {{0, "れいじ"}, {7, "しちじ"}, {9, "くじ"}}},
        {"時間", "じかん", Row::Plain, "", "", "よじかん", {{9, "くじかん"}}},
        {"時半", "じはん", Row::Plain, "", "", "よじはん", {{7, "しちじはん"}, {9, "くじはん"}}},
        {"時頃", "じごろ", Row::Plain, "", "", "よじごろ", {{7, "しちじごろ"}, {9, "くじごろ"}}},
        {"分", "ふん", Row::H, "ぷん", "ぷん", "よんぷん", {}},
        {"分間", "ふんかん", Row::H, "ぷんかん", "ぷんかん", "よんぷんかん", {}},
        {"秒", "びょう", Row::Plain, "", "", nullptr, {}},
        {"日",
         "にち",
         Row::Plain,
         "",
         "",
         "よっか",
         {{1, "ついたち"},
          {2, "ふつか"},
          {3, "みっか"},
          {5, "いつか"},
          {6, "むいか"},
          {7, "なのか"},
          {8, "ようか"},
          {9, "ここのか"}},
         true},
        {"日間",
         "にちかん",
         Row::Plain,
         "",
         "",
         "よっかかん",
         {{1, "いちにちかん"},
          {2, "ふつかかん"},
          {3, "みっかかん"},
          {5, "いつかかん"},
          {6, "むいかかん"},
          {7, "なのかかん"},
          {8, "ようかかん"},
          {9, "ここのかかん"}},
         true},
        {"日目",
         "にちめ",
         Row::Plain,
         "",
         "",
         "よっかめ",
         {{1, "いちにちめ"},
          {2, "ふつかめ"},
          {3, "みっかめ"},
          {5, "いつかめ"},
          {6, "むいかめ"},
          {7, "なのかめ"},
          {8, "ようかめ"},
          {9, "ここのかめ"}},
         true},
        {"月", "がつ", Row::Plain, "", "", "しがつ", {{7, "しちがつ"}, {9, "くがつ"}}},
        {"か月", "かげつ", Row::K, "", "", nullptr, {}},
        {"ヶ月", "かげつ", Row::K, "", "", nullptr, {}},
        {"カ月", "かげつ", Row::K, "", "", nullptr, {}},
        {"年", "ねん", Row::Plain, "", "", "よねん", {}},
        {"年間", "ねんかん", Row::Plain, "", "", "よねんかん", {}},
        {"年生", "ねんせい", Row::Plain, "", "", "よねんせい", {}},
        {"年度", "ねんど", Row::Plain, "", "", "よねんど", {}},
        {"週", "しゅう", Row::S, "", "", nullptr, {}},
        {"週間", "しゅうかん", Row::S, "", "", nullptr, {}},
        {"人", "にん", Row::Plain, "", "", "よにん", {{1, "ひとり"}, {2, "ふたり"}}, true},
        {"人目", "にんめ", Row::Plain, "", "", "よにんめ", {{1, "ひとりめ"}, {2, "ふたりめ"}}, true},
        {"個", "こ", Row::K, "", "", nullptr, {}},
        {"回", "かい", Row::K, "", "", nullptr, {}},
        {"回目", "かいめ", Row::K, "", "", nullptr, {}},
        {"階", "かい", Row::K, "", "", nullptr, {{3, "さんがい"}}},
        {"件", "けん", Row::K, "", "", nullptr, {}},
        {"円", "えん", Row::Plain, "", "", "よえん", {}},
        {"万", "まん", Row::Plain, "", "", nullptr, {}},
        {"万円", "まんえん", Row::Plain, "", "", nullptr, {}},
        {"億", "おく", Row::Plain, "", "", nullptr, {}},
        {"歳", "さい", Row::S, "", "", nullptr, {}},
        {"才", "さい", Row::S, "", "", nullptr, {}},
        {"冊", "さつ", Row::S, "", "", nullptr, {}},
        {"点", "てん", Row::T, "", "", nullptr, {}},
        {"本", "ほん", Row::H, "ぽん", "ぼん", nullptr, {}},
        {"匹", "ひき", Row::H, "ぴき", "びき", nullptr, {}},
        {"杯", "はい", Row::H, "ぱい", "ばい", nullptr, {}},
        {"度", "ど", Row::Plain, "", "", nullptr, {}},
        {"番", "ばん", Row::Plain, "", "", nullptr, {}},
        {"番目", "ばんめ", Row::Plain, "", "", nullptr, {}},
        {"枚", "まい", Row::Plain, "", "", nullptr, {}},
        {"台", "だい", Row::Plain, "", "", nullptr, {}},
        {"倍", "ばい", Row::Plain, "", "", nullptr, {}},
        {"名", "めい", Row::Plain, "", "", nullptr, {}},
        {"行", "ぎょう", Row::Plain, "", "", nullptr, {}},
        {"文字", "もじ", Row::Plain, "", "", nullptr, {}},
        {"％", "ぱーせんと", Row::Plain, "", "", nullptr, {}},
        {"つ",
         "",
         Row::Plain,
         "",
         "",
         "よっつ",
         {{1, "ひとつ"},
          {2, "ふたつ"},
          {3, "みっつ"},
          {5, "いつつ"},
          {6, "むっつ"},
          {7, "ななつ"},
          {8, "やっつ"},
          {9, "ここのつ"}},
         true},
    };
    return table;
}

// Markers between the steps: the place of the digit in front of them, and
// whether that digit ends in a small tsu because every digit after it is 0
// and the counter asks for it (じゅっぷん, ひゃっこ).
const char* const kTens = "┌";
const char* const kTensTsu = "┐";
const char* const kHundredsMark = "┘";
const char* const kHundredsTsuMark = "└";
const char* const kThousandsMark = "├";
const char* const kTenThousandsMark = "┬";
const char* const kFullWidthEnd = "┤";  // ends a run of converted full-width digits

std::string digit(int d) { return std::string(1, static_cast<char>('0' + d)); }

// The counter read after one digit 0..9.
std::string unit_reading(const Counter& c, int d, bool alone) {
    auto found = c.units.find(d);
    if (found != c.units.end() && (alone || !c.units_alone)) return found->second;
    if (d == 4 && c.four != nullptr) return c.four;
    if (d == 0) return std::string("ぜろ") + c.kana;
    const bool tsu_k = c.row == Row::K && (d == 1 || d == 6 || d == 8);
    const bool tsu_st = (c.row == Row::S || c.row == Row::T) && (d == 1 || d == 8);
    const bool tsu_h = c.row == Row::H && (d == 1 || d == 6 || d == 8);
    static const char* const kTsuDigits[] = {"", "いっ", "", "", "", "", "ろっ", "", "はっ", ""};
    if (tsu_k || tsu_st) return std::string(kTsuDigits[d]) + c.kana;
    if (tsu_h) return std::string(kTsuDigits[d]) + c.p_form;
    if (c.row == Row::H && d == 3) return std::string("さん") + c.n_form;
    return std::string(kDigits[d]) + c.kana;
}

// The counter after a number ending in 0 whose last nonzero digit is in the
// tens (place 1), hundreds (2), thousands (3) or ten-thousands (4); `tsu`
// tells whether that digit takes a small tsu.
std::string ending_reading(const Counter& c, int place, bool& tsu) {
    tsu = false;
    if (place >= 3) return c.row == Row::H ? c.n_form : c.kana;
    if (c.row == Row::K || c.row == Row::H) tsu = true;
    if ((c.row == Row::S || c.row == Row::T) && place == 1) tsu = true;
    return c.row == Row::H ? c.p_form : c.kana;
}

// The reading of digit d in `place` (1 tens .. 4 ten-thousands).
std::string place_reading(int d, int place, bool tsu) {
    if (d == 0) return "";
    switch (place) {
    case 1: return std::string(d == 1 ? "" : kDigits[d]) + (tsu ? "じゅっ" : "じゅう");
    case 2: return tsu ? kHundredsTsu[d] : kHundreds[d];
    case 3: return kThousands[d];
    default: return std::string(kDigits[d]) + "まん";
    }
}

const char* place_marker(int place, bool tsu) {
    switch (place) {
    case 1: return tsu ? kTensTsu : kTens;
    case 2: return tsu ? kHundredsTsuMark : kHundredsMark;
    case 3: return kThousandsMark;
    default: return kTenThousandsMark;
    }
}

// The pairs that read the last digits of a number together with counter `c`.
void add_counter_pairs(const Counter& c, std::vector<Pair>& pairs) {
    const std::string text = c.text;
    if (std::string(c.kana).empty() && !c.units.empty()) {
        // ひとつ .. ここのつ: single digits only.
        for (int d = 1; d <= 9; ++d) pairs.push_back({digit(d) + text, digit(d) + unit_reading(c, d, true)});
        return;
    }
    for (int x = 0; x <= 9; ++x)
        for (int d = 1; d <= 9; ++d)
            pairs.push_back({digit(x) + digit(d) + text, digit(x) + kTens + unit_reading(c, d, false)});
    for (int place = 1; place <= 4; ++place) {
        const std::string zeros(static_cast<std::size_t>(place), '0');
        bool tsu;
        const std::string ending = ending_reading(c, place, tsu);
        for (int x = 1; x <= 9; ++x)
            pairs.push_back({digit(x) + zeros + text, digit(x) + place_marker(place, tsu) + ending});
    }
    for (int d = 0; d <= 9; ++d) pairs.push_back({digit(d) + text, digit(d) + unit_reading(c, d, true)});
}

// Appends `more` to `pairs`, the longest searches first, so that a search
// comes before the shorter ones it may contain.
void append_longest_first(std::vector<Pair> more, std::vector<Pair>& pairs) {
    std::stable_sort(more.begin(), more.end(), [](const Pair& a, const Pair& b) {
        return character_count(a.search) > character_count(b.search);
    });
    pairs.insert(pairs.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::string> known_counters() {
    std::vector<std::string> names;
    for (const Counter& c : counters()) names.push_back(c.text);
    return names;
}

std::vector<Pair> number_pairs(const std::vector<std::string>& wanted, bool fullwidth_numbers) {
    std::vector<Counter> chosen;
    for (const Counter& c : counters())
        if (std::find(wanted.begin(), wanted.end(), c.text) != wanted.end()) chosen.push_back(c);
    std::vector<Pair> pairs;
    if (fullwidth_numbers) {
        // Full-width digits become ASCII digits with an end marker; the marker
        // between two digits goes, the last one stays as an empty counter, and
        // a marker before a counter makes way for it.
        static const char* const kFullWidth[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
        for (int d = 0; d <= 9; ++d) pairs.push_back({kFullWidth[d], digit(d) + kFullWidthEnd});
        for (int d = 0; d <= 9; ++d) pairs.push_back({std::string(kFullWidthEnd) + digit(d), digit(d)});
        std::vector<Pair> before_counters;
        for (const Counter& c : chosen) before_counters.push_back({std::string(kFullWidthEnd) + c.text, c.text});
        append_longest_first(before_counters, pairs);
        chosen.push_back(Counter{kFullWidthEnd, "", Row::Plain, "", "", nullptr, {}, false});
    }
    // The counters' own pairs, longest search first, so that 3時間 is read
    // with 時間 before 時 could take it.
    std::vector<Pair> last_digits;
    for (const Counter& c : chosen) add_counter_pairs(c, last_digits);
    append_longest_first(last_digits, pairs);
    // Then place by place: a digit in front of a marker becomes its reading
    // when another digit stands before it; the first digit of a number, with
    // nothing before it, is read by the last pairs of each place and stays.
    for (int place = 1; place <= 4; ++place) {
        for (const bool tsu : {false, true}) {
            if (tsu && place > 2) continue;
            const char* marker = place_marker(place, tsu);
            if (place < 4) {
                for (int y = 0; y <= 9; ++y)
                    for (int x = 0; x <= 9; ++x) {
                        const bool next_tsu = x == 0 && tsu;
                        pairs.push_back({digit(y) + digit(x) + marker,
                                         digit(y) + place_marker(place + 1, next_tsu) + place_reading(x, place, tsu)});
                    }
            }
            for (int x = 0; x <= 9; ++x) pairs.push_back({digit(x) + marker, digit(x) + place_reading(x, place, tsu)});
        }
    }
    return pairs;
}

}  // namespace readings
}  // namespace vokari
