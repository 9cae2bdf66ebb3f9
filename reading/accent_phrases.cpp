// Pitch accent: the accent phrases of the analysed words, and the high, low
// and pitch factor of each of their morae.
#include "reading/accent_phrases.h"

#include <algorithm>
#include <cmath>

#include "reading/spoken_kana.h"

namespace vokari {

namespace {

// Factors are products of half pitch steps: sqrt is exact in every build,
// where pow's last bit is not.
double half_steps(int count) {
    const double half = std::sqrt(1.014546);
    double factor = 1.0;
    for (int i = 0; i < count; ++i) factor *= half;
    for (int i = 0; i > count; --i) factor /= half;
    return factor;
}

bool is_one_of(const std::string& surface, const char* const* marks) {
    for (; *marks != nullptr; ++marks)
        if (surface == *marks) return true;
    return false;
}

const char* const kSentenceEnds[] = {"\x81\x42", "\x81\x49", "\x81\x48", "\xA1", "!", "?", nullptr};  // 。！？｡
const char* const kQuestionMarks[] = {"\x81\x48", "?", nullptr};                                      // ？

// High or low for the mora at `index` (from 0) of a phrase of accent type
// `accent`: type 0 rises after the first mora and stays; type 1 falls after
// it; type n rises after the first and falls after the n-th.
bool is_high(int index, int accent) {
    if (accent == 1) return index == 0;
    if (index == 0) return false;
    return accent == 0 || index < accent;
}

class AccentBuilder {
public:
    AccentBuilder(std::vector<SpokenMora>& morae, int depth_halves) : morae_(morae), depth_halves_(depth_halves) {}

    // The word's morae are those up to `end`.
    void add_word(const ReadWord& word, std::size_t end) {
        if (pause_ms_ >= kLongPauseMs) declination_halves_ = 0;
        pause_ms_ = 0;
        if (!in_phrase_) {
            phrase_start_ = next_;
            accent_ = word.accent_type;
            dictionary_morae_ = 0;
            in_phrase_ = true;
        }
        dictionary_morae_ += word.mora_count;
        next_ = end;
        last_spoken_ = word.pronunciation;
        if (!word.joins_next) close_phrase();
    }

    // A pause, a sign or an unread word ends the phrase; 。！？ end the
    // sentence too.
    void add_break(const ReadWord& word) {
        close_phrase();
        pause_ms_ += word.pause_ms;
        if (is_one_of(word.surface, kSentenceEnds)) end_sentence(is_one_of(word.surface, kQuestionMarks));
    }

    void finish() {
        close_phrase();
        end_sentence(false);
    }

private:
    void close_phrase() {
        if (!in_phrase_) return;
        in_phrase_ = false;
        const std::size_t count = next_ - phrase_start_;
        if (count == 0) return;
        const int length = static_cast<int>(count);
        const bool sound =
            length <= kLongestAccentPhrase && accent_ >= 0 && accent_ <= length && dictionary_morae_ == length;
        for (int i = 0; i < length; ++i) {
            SpokenMora& mora = morae_[phrase_start_ + static_cast<std::size_t>(i)];
            mora.high = sound && is_high(i, accent_);
            if (depth_halves_ == 0) continue;  // no accent: no fall and no rise either
            // A flat phrase sits midway, so a damaged entry neither shouts nor drops.
            const int offset = sound ? (mora.high ? 0 : -depth_halves_) : -depth_halves_ / 2;
            mora.factor = half_steps(declination_halves_ + offset);
        }
        const int lowest = static_cast<int>(kLowestDeclination * 2);
        declination_halves_ = std::max(lowest, declination_halves_ - static_cast<int>(kDeclinationPerPhrase * 2));
        sentence_has_morae_ = true;
    }

    // A question, or a sentence that ends in the particle か, rises on its last
    // mora above the phrase's high.
    void end_sentence(bool question_mark) {
        const bool question = question_mark || last_spoken_ == "\x83\x4A";  // カ
        if (question && sentence_has_morae_ && next_ != 0 && depth_halves_ != 0)
            morae_[next_ - 1].factor = half_steps(declination_halves_ + depth_halves_);
        declination_halves_ = 0;
        sentence_has_morae_ = false;
        last_spoken_.clear();
    }

    std::vector<SpokenMora>& morae_;
    const int depth_halves_;
    std::size_t next_ = 0;  // the first mora not yet in a phrase
    bool in_phrase_ = false;
    std::size_t phrase_start_ = 0;
    int accent_ = 0;
    int dictionary_morae_ = 0;
    int declination_halves_ = 0;
    std::int64_t pause_ms_ = 0;  // silence since the last spoken word
    bool sentence_has_morae_ = false;
    std::string last_spoken_;
};

}  // namespace

bool accent_is_on(double depth) { return depth >= 0.25; }

void set_accent(const std::vector<ReadWord>& words, std::vector<SpokenMora>& morae, double depth) {
    // Half steps, up to two octaves: far inside the renderer's limits.
    const double bounded = depth > 0.0 ? std::min(depth, 48.0) : 0.0;
    const int depth_halves = static_cast<int>(bounded * 2.0 + 0.5);
    AccentBuilder builder(morae, depth_halves);
    std::size_t end = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const ReadWord& word = words[w];
        if (word.symbol || word.pronunciation.empty()) {
            builder.add_break(word);
            continue;
        }
        while (end < morae.size() && morae[end].word == w) ++end;
        builder.add_word(word, end);
    }
    builder.finish();
}

std::vector<SpokenMora> accent_morae(const std::vector<ReadWord>& words, double depth) {
    std::vector<SpokenMora> morae = word_morae(words);
    set_accent(words, morae, depth);
    return morae;
}

}  // namespace vokari
