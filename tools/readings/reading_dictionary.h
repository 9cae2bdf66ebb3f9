// Collects readings from analysed text and turns them into the ordered pairs
// of a reading dictionary.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/readings/morphology.h"
#include "tools/readings/number_pairs.h"

namespace vokari {
namespace readings {

// How often each written form was read in which way.
class ReadingCounts {
public:
    // Counts the kanji words of one analysed line: single words, runs of
    // consecutive kanji words (compounds), a word or run followed by the
    // particle は or へ (read わ / え), and the counters after numbers.
    void add_line(const std::vector<Word>& words);

    // Counts kana words followed by the particle は or へ (これは, には),
    // for the general dictionary, and remembers the line for checking them.
    void add_kana_particles(const std::vector<Word>& words, const std::string& line);

    struct Entry {
        std::string reading;  // hiragana
        long count = 0;       // times read this way
        long total = 0;       // times seen
    };
    // The most used reading of every form seen at least `min_count` times.
    std::map<std::string, Entry> best(long min_count) const;

    const std::map<std::string, std::map<std::string, long>>& words() const { return words_; }
    const std::set<std::string>& counters_used() const { return counters_; }
    // Kana particle forms that stand for the particle in at least `share` of
    // the places where their text occurs, and occur at least `min_count` times.
    std::vector<Pair> reliable_kana_particles(long min_count, double share) const;

private:
    std::map<std::string, std::map<std::string, long>> words_;   // form -> reading -> count
    std::map<std::string, long> kana_particles_;                 // e.g. "には" -> times a particle
    std::map<std::string, std::string> kana_particle_readings_;  // e.g. "へは" -> "えわ"
    std::string text_;                                           // the lines seen, one after another
    std::set<std::string> counters_;
};

struct BuildOptions {
    long min_count = 1;  // forms seen fewer times get no pair
    char tag_prefix = '@';
    bool fullwidth_numbers = true;
};

// Why `search` must not be written (it could match inside a tag, or the
// dictionary reader would split or trim it), or null when it is safe.
const char* unsafe_search_reason(const std::string& search, char tag_prefix);

// The ordered pairs of a dictionary: pairs that begin with a counter's kanji
// but are not counters (本当, 日本), then the number pairs, then the words
// longest first, then the single-kanji `fallback` pairs for kanji without a
// pair, then `tail` (kana particles).  Unsafe pairs are left out and counted
// in `rejected`.
std::vector<Pair> order_pairs(const std::map<std::string, ReadingCounts::Entry>& words,
                              const std::vector<std::string>& counters,
                              const std::map<std::string, std::string>& fallback, const std::vector<Pair>& tail,
                              const BuildOptions& options, std::size_t& rejected);

// The first (earlier, later) pair numbers where the later search contains the
// earlier one, so that the shorter pair would take text the longer one needs;
// {n, n} (n: the number of pairs) when the order has no such fault.
std::pair<std::size_t, std::size_t> first_order_conflict(const std::vector<Pair>& pairs);

}  // namespace readings
}  // namespace vokari
