#include "reading/homograph_readings.h"

#include <cstring>

namespace vokari {

namespace {

const char kAku[] = "\x8B\xF3\x82\xAD";  // 空く, as あく (opens) and すく (empties)
const char kKatakanaA[] = "\x83\x41";    // ア
const char kKatakanaSu[] = "\x83\x58";   // ス

// What 空く says of these is that it empties: お腹が空いた, 電車が空いてる.
const char* const kEmptyingSubjects[] = {"\x95\xA0",                  // 腹
                                         "\x82\xA8\x95\xA0",          // お腹
                                         "\x82\xA8\x82\xC8\x82\xA9",  // おなか
                                         "\x8F\xAC\x95\xA0",          // 小腹
                                         "\x93\x64\x8E\xD4",          // 電車
                                         "\x8E\xD4\x93\xE0",          // 車内
                                         "\x93\xB9",                  // 道
                                         "\x93\xB9\x98\x48",          // 道路
                                         nullptr};

// Particles that may stand between the subject and the verb.
const char* const kSubjectParticles[] = {"\x82\xAA", "\x82\xCD", "\x82\xE0", nullptr};  // が は も

bool is_one_of(const std::string& surface, const char* const* list) {
    for (; *list != nullptr; ++list)
        if (surface == *list) return true;
    return false;
}

bool follows_emptying_subject(const std::vector<ReadWord>& words, std::size_t at) {
    if (at == 0) return false;
    std::size_t before = at - 1;
    if (is_one_of(words[before].surface, kSubjectParticles)) {
        if (before == 0) return false;
        --before;
    }
    return is_one_of(words[before].surface, kEmptyingSubjects);
}

}  // namespace

void apply_context_readings(std::vector<ReadWord>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        ReadWord& word = words[i];
        if (word.base_form != kAku || word.pronunciation.compare(0, 2, kKatakanaA) != 0) continue;
        if (follows_emptying_subject(words, i)) word.pronunciation.replace(0, 2, kKatakanaSu);
    }
}

}  // namespace vokari
