// Laying the prosody model's morae onto the spoken morae, word by word.
#include "reading/timed_morae.h"

#include <cstddef>
#include <cstdint>

namespace vokari {

namespace {

constexpr char kHeldVowel[] = "\x81\x5B";  // ー

// The end of the run of `list` from `begin` whose word is that of `begin`.
template <typename Mora>
std::size_t run_end(const std::vector<Mora>& list, std::size_t begin, long word_of(const Mora&)) {
    std::size_t end = begin;
    while (end < list.size() && word_of(list[end]) == word_of(list[begin])) ++end;
    return end;
}

long plan_word(const ProsodyMora& mora) { return mora.word; }
long spoken_word(const SpokenMora& mora) { return static_cast<long>(mora.word); }

}  // namespace

void time_morae(const ProsodyPlan& plan, std::vector<SpokenMora>& morae) {
    std::size_t j = 0;
    for (std::size_t i = 0; i < plan.morae.size();) {
        const std::size_t plan_end = run_end(plan.morae, i, plan_word);
        const long word = plan.morae[i].word;
        while (j < morae.size() && spoken_word(morae[j]) < word) ++j;
        const std::size_t end = j < morae.size() ? run_end(morae, j, spoken_word) : j;
        if (word >= 0 && j < end && spoken_word(morae[j]) == word && end - j == plan_end - i) {
            for (std::size_t k = i; k < plan_end; ++k, ++j) {
                const ProsodyMora& timed = plan.morae[k];
                SpokenMora& mora = morae[j];
                mora.start_ms = timed.start_ms;
                mora.length_ms = timed.length_ms;
                mora.vowel_ms = timed.vowel_start_ms - timed.start_ms;
                if (k > 0) {
                    const ProsodyMora& before = plan.morae[k - 1];
                    mora.pause_ms = timed.start_ms - (before.start_ms + before.length_ms);
                }
                mora.held = timed.kana == kHeldVowel;
                mora.devoiced = timed.devoiced;
                mora.log_f0 = timed.log_f0;
            }
        }
        i = plan_end;
    }
}

}  // namespace vokari
