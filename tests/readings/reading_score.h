// How far the kana the module voices are from MeCab's in-context reading of
// the same text: the edit distance between the two unit sequences (kana and
// lengthenings, see module_adapter) as a share of the reference's length.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tools/readings/morphology.h"

namespace reading_score {

struct Score {
    long errors = 0;     // insertions, deletions and substitutions of units
    long reference = 0;  // units of the reference reading
    long lines = 0;
    double share() const { return reference == 0 ? 0.0 : static_cast<double>(errors) / static_cast<double>(reference); }
};

// Levenshtein distance between two unit sequences (kana slots, or mora
// tokens as text).
template <typename Unit>
long edit_distance(const std::vector<Unit>& a, const std::vector<Unit>& b) {
    std::vector<long> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<long>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        long diagonal = row[0];
        row[0] = static_cast<long>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const long above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Scores `lines` (UTF-8 script lines, tags allowed) against their reading.
// The reference is the reading of the spoken words (tags removed) folded by
// the built-in pairs; the module side is each line as a request translates
// it, with the loaded dictionary or (`with_dictionary` false) with the
// built-in pairs only.  Lines without Shift_JIS are left out.
// `known_readings` (text -> kana) stand for MeCab where it cannot know the
// reading: digits with a counter, which it leaves unread.
Score score_lines(vokari::readings::Morphology& morphology, const std::vector<std::string>& lines, bool with_dictionary,
                  const std::map<std::string, std::string>& known_readings = {});

}  // namespace reading_score
