// From analysed words to the ordered pairs of a reading dictionary.
#include "tools/readings/reading_dictionary.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

#include "tools/readings/japanese_text.h"

namespace vokari {
namespace readings {

namespace {

// `text` with every full-width digit written as the ASCII digit 0.
std::string ascii_digits(std::string text) {
    for (const char* fw : {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"})
        for (std::size_t at; (at = text.find(fw)) != std::string::npos;) text.replace(at, 3, "0");
    return text;
}

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool has_digit(const std::string& text) {
    const std::string ascii = ascii_digits(text);
    return std::any_of(ascii.begin(), ascii.end(), is_digit);
}

bool is_digit_number(const Word& word) {
    const std::string ascii = ascii_digits(word.surface);
    return !ascii.empty() && std::all_of(ascii.begin(), ascii.end(), is_digit);
}

// A kanji word with a usable reading.
bool is_kanji_word(const Word& word) {
    return holds_kanji(word.surface) && !has_digit(word.surface) && is_all_kana(word.reading);
}

// Every occurrence of `needle` in `text` (UTF-8: a match of whole characters
// always starts at a character).
long count_occurrences(const std::string& text, const std::string& needle) {
    long count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
}

// Character starts of a UTF-8 text, with its end.
std::vector<std::size_t> character_starts(const std::string& text) {
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    char32_t c;
    while (pos < text.size()) {
        starts.push_back(pos);
        if (!next_utf8(text, pos, c)) ++pos;
    }
    starts.push_back(text.size());
    return starts;
}

}  // namespace

void ReadingCounts::add_line(const std::vector<Word>& words) {
    const std::vector<std::string> counters = known_counters();
    const auto is_counter = [&](const std::string& s) {
        return std::find(counters.begin(), counters.end(), s) != counters.end();
    };
    std::vector<bool> usable(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        usable[i] = is_kanji_word(words[i]);
        // A counter after digits is read by the number pairs.
        if (i > 0 && is_digit_number(words[i - 1]) && is_counter(words[i].surface)) {
            counters_.insert(words[i].surface);
            usable[i] = false;
        }
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!usable[i]) continue;
        std::string form, reading;
        for (std::size_t j = i; j < words.size() && j < i + 4 && usable[j]; ++j) {
            form += words[j].surface;
            reading += katakana_to_hiragana(words[j].reading);
            ++words_[form][reading];
            const bool run_ends = j + 1 == words.size() || !usable[j + 1];
            if (run_ends && j + 1 < words.size() && is_spoken_particle(words[j + 1]))
                ++words_[form + words[j + 1].surface][reading + (words[j + 1].surface == "は" ? "わ" : "え")];
        }
    }
}

void ReadingCounts::add_kana_particles(const std::vector<Word>& words, const std::string& line) {
    text_ += line;
    text_ += '\n';
    const auto all_hiragana = [](const std::string& text) {
        std::size_t pos = 0;
        char32_t c;
        while (pos < text.size())
            if (!next_utf8(text, pos, c) || !is_hiragana(c)) return false;
        return !text.empty();
    };
    const auto said = [](const Word& word) {
        if (!is_spoken_particle(word)) return word.surface;
        return std::string(word.surface == "は" ? "わ" : "え");
    };
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (!is_spoken_particle(words[i + 1])) continue;
        if (all_hiragana(words[i].surface)) {
            const std::string form = words[i].surface + words[i + 1].surface;
            ++kana_particles_[form];
            kana_particle_readings_[form] = said(words[i]) + said(words[i + 1]);  // へは: both particles
            continue;
        }
        // After a katakana word, its last character and the particle: no
        // pair rewrites katakana, so ムは and ルへ still stand when this applies.
        const std::vector<std::size_t> starts = character_starts(words[i].surface);
        if (starts.size() < 2) continue;
        const std::string last = words[i].surface.substr(starts[starts.size() - 2]);
        std::size_t pos = 0;
        char32_t c;
        if (!next_utf8(last, pos, c) || !is_katakana(c)) continue;
        const std::string form = last + words[i + 1].surface;
        ++kana_particles_[form];
        kana_particle_readings_[form] = last + said(words[i + 1]);
    }
}

std::map<std::string, ReadingCounts::Entry> ReadingCounts::best(long min_count) const {
    std::map<std::string, Entry> chosen;
    for (const auto& [form, readings] : words_) {
        Entry entry;
        for (const auto& [reading, count] : readings) {
            entry.total += count;
            if (count > entry.count) entry.reading = reading, entry.count = count;
        }
        if (entry.total >= min_count) chosen[form] = entry;
    }
    return chosen;
}

std::vector<Pair> ReadingCounts::reliable_kana_particles(long min_count, double share) const {
    std::vector<std::pair<long, std::string>> ranked;
    for (const auto& [form, count] : kana_particles_)
        if (count >= min_count) ranked.push_back({count, form});
    std::sort(ranked.rbegin(), ranked.rend());
    if (ranked.size() > 600) ranked.resize(600);
    std::vector<Pair> pairs;
    for (const auto& [count, form] : ranked) {
        const long occurrences = count_occurrences(text_, form);
        if (occurrences == 0 || static_cast<double>(count) < share * static_cast<double>(occurrences)) continue;
        pairs.push_back({form, kana_particle_readings_.at(form)});
    }
    std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) {
        const std::size_t la = character_count(a.search), lb = character_count(b.search);
        return la != lb ? la > lb : a.search < b.search;
    });
    return pairs;
}

const char* unsafe_search_reason(const std::string& search, char tag_prefix) {
    if (search.empty()) return "empty search";
    bool only_digits = true;
    for (const char c : search) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (std::isalpha(b)) return "ASCII letter";
        if (c == '\\') return "backslash";
        if (c == tag_prefix) return "tag prefix";
        if (c == '[' || c == ']') return "bracket";
        if (c == ',') return "comma";
        if (c == '"') return "double quote";
        if (c == ' ' || c == '\t' || c == '/') return "blank or slash";
        if (!std::isdigit(b)) only_digits = false;
    }
    if (only_digits) return "ASCII digits alone";
    if (search.find("　") != std::string::npos) return "full-width space";
    return nullptr;
}

std::vector<Pair> order_pairs(const std::map<std::string, ReadingCounts::Entry>& words,
                              const std::vector<std::string>& counters,
                              const std::map<std::string, std::string>& fallback, const std::vector<Pair>& tail,
                              const BuildOptions& options, std::size_t& rejected) {
    struct Ranked {
        Pair pair;
        long count;
        std::size_t length;
        bool with_particle;  // a word and the particle は or へ after it
    };
    const auto with_particle = [](const std::string& form, const std::string& reading) {
        const auto ends = [](const std::string& text, const char* end) {
            return text.size() >= 3 && text.compare(text.size() - 3, 3, end) == 0;
        };
        return (ends(form, "は") && ends(reading, "わ")) || (ends(form, "へ") && ends(reading, "え"));
    };
    const std::vector<std::string> all_counters = known_counters();
    const auto first_character = [](const std::string& text) {
        const std::vector<std::size_t> starts = character_starts(text);
        return text.substr(0, starts.size() > 1 ? starts[1] : text.size());
    };
    // A word that begins with a counter's kanji (本当, 分かる) goes before the
    // numbers, so that a tag's digit before it (\1本当に) is not read with
    // it; a counter with particles after it (時に, 日は) goes after them, as
    // after digits (3時に) it is the counter.
    static const char* const kParticles[] = {"に", "は", "で", "と", "が", "を", "も", "の", "へ", "や"};
    const auto starts_with_counter = [&](const std::string& form) {
        if (std::find(all_counters.begin(), all_counters.end(), form) != all_counters.end()) return false;
        for (const std::string& c : all_counters) {
            if (form.compare(0, c.size(), c) != 0 || !holds_kanji(first_character(c))) continue;
            // Particles only (に, には, では): the counter of a number.
            std::string rest = form.substr(c.size());
            for (bool stripped = true; stripped && !rest.empty();) {
                stripped = false;
                for (const char* particle : kParticles)
                    if (rest.compare(0, 3, particle) == 0) rest.erase(0, 3), stripped = true;
            }
            if (!rest.empty()) return true;
        }
        return false;
    };
    std::vector<Ranked> first, rest;
    for (const auto& [form, entry] : words) {
        if (has_digit(form)) continue;  // digits are read by the number pairs
        Ranked ranked{{form, entry.reading}, entry.count, character_count(form), with_particle(form, entry.reading)};
        (starts_with_counter(form) ? first : rest).push_back(ranked);
    }
    // Anything that contains a pair of the first group must come before it,
    // and so must a word that ends in the first character of such a pair
    // (今日 before 日本 and 日は, or 今日は would lose its 日).
    for (bool moved = true; moved;) {
        moved = false;
        std::set<std::string> first_starts;
        for (const Ranked& f : first) first_starts.insert(first_character(f.pair.search));
        std::vector<Ranked> kept;
        for (Ranked& r : rest) {
            const std::vector<std::size_t> starts = character_starts(r.pair.search);
            const std::string last = r.pair.search.substr(starts[starts.size() - 2]);
            const bool is_counter =
                std::find(all_counters.begin(), all_counters.end(), r.pair.search) != all_counters.end();
            const bool contains = (r.length > 1 && !is_counter && holds_kanji(last) && first_starts.count(last) > 0) ||
                                  std::any_of(first.begin(), first.end(), [&](const Ranked& f) {
                                      return r.pair.search.find(f.pair.search) != std::string::npos;
                                  });
            if (contains) {
                first.push_back(std::move(r));
                moved = true;
            } else {
                kept.push_back(std::move(r));
            }
        }
        rest.swap(kept);
    }
    for (const auto& [kanji, reading] : fallback)
        if (words.find(kanji) == words.end()) rest.push_back({{kanji, reading}, 0, 1, false});
    // Among searches of one length, a word with its particle comes after the
    // words: 日は must not take the 日 of 明日 before 明日 is read.
    const auto longest_first = [](const Ranked& a, const Ranked& b) {
        if (a.length != b.length) return a.length > b.length;
        if (a.with_particle != b.with_particle) return b.with_particle;
        if (a.count != b.count) return a.count > b.count;
        return a.pair.search < b.pair.search;
    };
    std::sort(first.begin(), first.end(), longest_first);
    std::sort(rest.begin(), rest.end(), longest_first);

    std::vector<Pair> ordered;
    for (const Ranked& r : first) ordered.push_back(r.pair);
    for (const Pair& p : number_pairs(counters, options.fullwidth_numbers)) ordered.push_back(p);
    for (const Ranked& r : rest) ordered.push_back(r.pair);
    ordered.insert(ordered.end(), tail.begin(), tail.end());

    std::vector<Pair> safe;
    rejected = 0;
    for (Pair& p : ordered) {
        if (unsafe_search_reason(p.search, options.tag_prefix) != nullptr ||
            p.replacement.find(',') != std::string::npos || p.replacement.find(p.search) != std::string::npos) {
            ++rejected;
            continue;
        }
        safe.push_back(std::move(p));
    }
    return safe;
}

std::pair<std::size_t, std::size_t> first_order_conflict(const std::vector<Pair>& pairs) {
    std::unordered_map<std::string, std::size_t> first_index;
    for (std::size_t i = 0; i < pairs.size(); ++i) first_index.emplace(pairs[i].search, i);
    for (std::size_t j = 0; j < pairs.size(); ++j) {
        const std::vector<std::size_t> starts = character_starts(pairs[j].search);
        for (std::size_t a = 0; a + 1 < starts.size(); ++a)
            for (std::size_t b = a + 1; b < starts.size(); ++b) {
                if (a == 0 && b + 1 == starts.size()) continue;  // the whole search
                auto found = first_index.find(pairs[j].search.substr(starts[a], starts[b] - starts[a]));
                if (found != first_index.end() && found->second < j) return {found->second, j};
            }
    }
    return {pairs.size(), pairs.size()};
}

}  // namespace readings
}  // namespace vokari
