// Laying the prosody model's morae onto the spoken morae, word by word.
#include "reading/timed_morae.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

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

// 。！？ and their ASCII and half-width forms, said as nothing.
bool ends_sentence(const ReadWord& word) {
    if (!word.symbol && !word.pronunciation.empty()) return false;
    const std::string& s = word.surface;
    if (s == "!" || s == "?" || s == "." || s == "\xA1") return true;
    return s == "\x81\x42" || s == "\x81\x49" || s == "\x81\x48";
}

// Appends the plan of one sentence, its words from `first_word`, after what
// `script` holds; its voiced frames are moved to the mean `level` (0: the
// sentence's own mean sets it).
void append_sentence(ProsodyPlan& script, ProsodyPlan sentence, int first_word, double& level) {
    double sum = 0.0;
    std::size_t voiced = 0;
    for (double value : sentence.log_f0) {
        if (value == 0.0) continue;
        sum += value;
        ++voiced;
    }
    const double mean = voiced > 0 ? sum / static_cast<double>(voiced) : 0.0;
    if (level == 0.0) level = mean;
    const int offset = script.morae.empty() ? 0 : script.morae.back().start_ms + script.morae.back().length_ms;
    script.frame_ms = sentence.frame_ms;
    script.log_f0.resize(static_cast<std::size_t>(offset / sentence.frame_ms), 0.0);
    for (double value : sentence.log_f0) script.log_f0.push_back(value != 0.0 ? value - mean + level : 0.0);
    for (ProsodyMora& mora : sentence.morae) {
        mora.start_ms += offset;
        mora.vowel_start_ms += offset;
        if (mora.word >= 0) mora.word += first_word;
        script.morae.push_back(std::move(mora));
    }
}
long spoken_word(const SpokenMora& mora) { return static_cast<long>(mora.word); }

}  // namespace

ProsodyPlan plan_sentences(const ProsodyModel& model, const std::vector<ReadWord>& words, double tempo, double range) {
    ProsodyPlan script;
    double level = 0.0;
    std::vector<ReadWord> sentence;
    std::size_t first = 0;
    for (std::size_t w = 0; w <= words.size(); ++w) {
        if (w < words.size()) sentence.push_back(words[w]);
        if (w < words.size() && !ends_sentence(words[w])) continue;
        ProsodyPlan planned = model.plan(sentence, tempo, range);
        if (planned.frame_ms > 0 && !planned.morae.empty())
            append_sentence(script, std::move(planned), static_cast<int>(first), level);
        sentence.clear();
        first = w + 1;
    }
    return script;
}

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
