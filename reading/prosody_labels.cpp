// Full-context labels from the reading step's words: the words become the
// analyser's node list again (the readings as the reading step corrected
// them), the devoicing rules mark their vowels, and the label library
// writes one label per phoneme.
#include "reading/prosody_labels.h"

#include <cstdlib>
#include <new>

#include "base/shift_jis.h"

// The analyser's C headers: njd.h first, the others use its types.
#include "njd.h"
#include "jpcommon.h"
#include "njd2jpcommon.h"
#include "njd_set_unvoiced_vowel.h"

namespace vokari {

namespace {

const char kPauseMark[] = "\x81\x41";     // 、: a short pause to the label library
const char kQuestionMark[] = "\x81\x48";  // ？: a pause that makes its phrase a question
const char kSymbolPos[] = "\x8B\x4C\x8D\x86";
const char kNoGroup[] = "*";

// The pause a sign makes: kPauseMark, kQuestionMark or null for a sign that
// says nothing.  A run of signs ("、、", "?!") takes its first.
const char* pause_of_sign(const std::string& surface) {
    if (surface.empty()) return nullptr;
    const unsigned char first = static_cast<unsigned char>(surface[0]);
    if (first == '?') return kQuestionMark;
    if (first == ',' || first == '.' || first == '!') return kPauseMark;
    if (first != 0x81 || surface.size() < 2) return nullptr;
    switch (static_cast<unsigned char>(surface[1])) {
    case 0x48: return kQuestionMark;  // ？
    case 0x41:                        // 、
    case 0x42:                        // 。
    case 0x43:                        // ，
    case 0x44:                        // ．
    case 0x49: return kPauseMark;     // ！
    default: return nullptr;
    }
}

const char* or_none(const std::string& text) { return text.empty() ? kNoGroup : text.c_str(); }

// The node list and the label library's state, freed however the work ends.
struct LabelWork {
    NJD njd{};
    JPCommon jpcommon{};
    LabelWork() {
        NJD_initialize(&njd);
        JPCommon_initialize(&jpcommon);
    }
    ~LabelWork() {
        JPCommon_clear(&jpcommon);
        NJD_clear(&njd);
    }
    LabelWork(const LabelWork&) = delete;
    LabelWork& operator=(const LabelWork&) = delete;

    NJDNode* push() {
        auto* node = static_cast<NJDNode*>(std::calloc(1, sizeof(NJDNode)));
        if (node == nullptr) throw std::bad_alloc();
        NJDNode_initialize(node);
        NJD_push_node(&njd, node);
        return node;
    }

    void push_pause(const char* mark) {
        NJDNode* node = push();
        NJDNode_set_string(node, mark);
        NJDNode_set_pos(node, kSymbolPos);
        NJDNode_set_pos_group1(node, kNoGroup);
        NJDNode_set_pos_group2(node, kNoGroup);
        NJDNode_set_pos_group3(node, kNoGroup);
        NJDNode_set_ctype(node, kNoGroup);
        NJDNode_set_cform(node, kNoGroup);
        NJDNode_set_pron(node, mark);
        NJDNode_set_chain_flag(node, 0);
    }

    void push_word(const ReadWord& word, bool joins_previous) {
        NJDNode* node = push();
        NJDNode_set_string(node, word.surface.c_str());
        NJDNode_set_pos(node, or_none(word.part_of_speech[0]));
        NJDNode_set_pos_group1(node, or_none(word.part_of_speech[1]));
        NJDNode_set_pos_group2(node, or_none(word.part_of_speech[2]));
        NJDNode_set_pos_group3(node, or_none(word.part_of_speech[3]));
        NJDNode_set_ctype(node, or_none(word.conjugation_type));
        NJDNode_set_cform(node, or_none(word.conjugation_form));
        NJDNode_set_pron(node, word.pronunciation.c_str());
        NJDNode_set_acc(node, word.accent_type < 0 ? 0 : word.accent_type);
        NJDNode_set_mora_size(node, word.mora_count < 0 ? 0 : word.mora_count);
        NJDNode_set_chain_flag(node, joins_previous ? 1 : 0);
    }
};

// True when every byte of `pronunciation` belongs to a Shift_JIS pair: the
// label library reads pronunciations two bytes at a time.
bool whole_pairs(const std::string& pronunciation) {
    for (std::size_t i = 0; i < pronunciation.size(); i += 2)
        if (i + 1 >= pronunciation.size() || !is_sjis_lead(static_cast<unsigned char>(pronunciation[i]))) return false;
    return true;
}

}  // namespace

ProsodyLabels make_prosody_labels(const std::vector<ReadWord>& words) {
    ProsodyLabels result;
    LabelWork work;
    bool previous_joins = false;
    bool any_spoken = false;
    std::size_t kana = 0;
    std::vector<int> spoken_words;
    for (const ReadWord& word : words) {
        const bool joins_previous = previous_joins;
        previous_joins = word.joins_next;
        if (!word.symbol && !word.pronunciation.empty() && whole_pairs(word.pronunciation)) {
            kana += word.pronunciation.size() / 2;
            if (kana > kProsodyKanaLimit) return result;
            work.push_word(word, joins_previous);
            spoken_words.push_back(static_cast<int>(&word - words.data()));
            any_spoken = true;
            continue;
        }
        // The analyser gives 。 and the like no reading rather than a sign.
        const char* pause = pause_of_sign(word.surface);
        if (pause == nullptr && word.pause_ms > 0) pause = kPauseMark;
        if (pause != nullptr) work.push_pause(pause);
    }
    if (!any_spoken) return result;
    njd_set_unvoiced_vowel(&work.njd);
    njd2jpcommon(&work.jpcommon, &work.njd);
    JPCommon_make_label(&work.jpcommon);
    const int size = JPCommon_get_label_size(&work.jpcommon);
    char** features = JPCommon_get_label_feature(&work.jpcommon);
    if (size < 3 || features == nullptr || work.jpcommon.label == nullptr) return result;

    // The library's own phoneme list lies between the two silences it adds.
    result.labels.reserve(static_cast<std::size_t>(size));
    result.labels.emplace_back(features[0]);
    result.phonemes.emplace_back("sil");
    result.mora_of_phoneme.push_back(-1);
    const JPCommonLabelMora* last_mora = nullptr;
    const JPCommonLabelWord* last_word = nullptr;
    std::size_t label_words = 0;
    int index = 1;
    for (const JPCommonLabelPhoneme* p = work.jpcommon.label->phoneme_head; p != nullptr && index < size - 1;
         p = p->next, ++index) {
        result.labels.emplace_back(features[index]);
        result.phonemes.emplace_back(p->phoneme);
        if (p->up == nullptr) {
            result.mora_of_phoneme.push_back(-1);
            continue;
        }
        if (p->up != last_mora) {
            result.morae.emplace_back(p->up->mora);
            last_mora = p->up;
            if (p->up->up != last_word) {
                last_word = p->up->up;
                ++label_words;
            }
            result.word_of_mora.push_back(label_words <= spoken_words.size() ? spoken_words[label_words - 1] : -1);
        }
        result.mora_of_phoneme.push_back(static_cast<int>(result.morae.size()) - 1);
    }
    // Each word pushed makes one word of the labels, unless the library
    // dropped one: then no mora can be said to belong to a word.
    if (label_words != spoken_words.size()) result.word_of_mora.assign(result.morae.size(), -1);
    result.labels.emplace_back(features[size - 1]);
    result.phonemes.emplace_back("sil");
    result.mora_of_phoneme.push_back(-1);
    return result;
}

}  // namespace vokari
