// Homograph readings: the rules that pick a word's reading by its neighbours.
#include "reading/homograph_readings.h"

#include <cstring>

namespace vokari {

namespace {

const char kAku[] = "\x8B\xF3\x82\xAD";            // 空く, as あく (opens) and すく (empties)
const char kOriru[] = "\x8D\x7E\x82\xE8\x82\xE9";  // 降りる, whose stem 降り is also that of 降る
const char kFuriStem[] = "\x8D\x7E\x82\xE8";       // 降り
const char kKaku[] = "\x8A\x70";                   // 角, かく (an angle) or かど (a corner)
const char kKatakanaA[] = "\x83\x41";              // ア
const char kKatakanaSu[] = "\x83\x58";             // ス
const char kKatakanaO[] = "\x83\x49";              // オ
const char kKatakanaFu[] = "\x83\x74";             // フ
const char kKakuReading[] = "\x83\x4A\x83\x4E";    // カク
const char kKadoReading[] = "\x83\x4A\x83\x68";    // カド

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

// What falls from the sky: 雨が降り出した is 降る, never 降りる (to get off).
const char* const kFallingSubjects[] = {"\x89\x4A",                  // 雨
                                        "\x90\xE1",                  // 雪
                                        "\x8F\xAC\x89\x4A",          // 小雨
                                        "\x91\xE5\x89\x4A",          // 大雨
                                        "\x91\xE5\x90\xE1",          // 大雪
                                        "\x8F\x89\x90\xE1",          // 初雪
                                        "\x95\xB2\x90\xE1",          // 粉雪
                                        "\xE8\xB9",                  // 雹
                                        "\xE8\xC5",                  // 霰
                                        "\xE8\xC2",                  // 霙
                                        "\x82\xDD\x82\xBC\x82\xEA",  // みぞれ
                                        nullptr};

// Particles that may stand between the subject and the verb.
const char* const kSubjectParticles[] = {"\x82\xAA", "\x82\xCD", "\x82\xE0", nullptr};  // が は も

// A corner is what one turns at (角を曲がる, 角で右に) and what one counts
// along a street (2つ目の角, 次の角).
const char* const kTurnParticles[] = {"\x82\xF0", "\x82\xC5", "\x82\xC9", nullptr};          // を で に
const char* const kTurns[] = {"\x8B\xC8\x82\xAA\x82\xE9", "\x89\x45", "\x8D\xB6", nullptr};  // 曲がる 右 左
const char* const kCountedAlong[] = {"\x96\xDA", "\x8E\x9F", "\x8D\xC5\x8F\x89", "\x8D\xC5\x8C\xE3",
                                     nullptr};  // 目 次 最初 最後
const char kNo[] = "\x82\xCC";                  // の

bool is_one_of(const std::string& surface, const char* const* list) {
    for (; *list != nullptr; ++list)
        if (surface == *list) return true;
    return false;
}

bool follows_subject(const std::vector<ReadWord>& words, std::size_t at, const char* const* subjects) {
    if (at == 0) return false;
    std::size_t before = at - 1;
    if (is_one_of(words[before].surface, kSubjectParticles)) {
        if (before == 0) return false;
        --before;
    }
    return is_one_of(words[before].surface, subjects);
}

bool is_street_corner(const std::vector<ReadWord>& words, std::size_t at) {
    if (at + 2 < words.size() && is_one_of(words[at + 1].surface, kTurnParticles) &&
        (is_one_of(words[at + 2].base_form, kTurns) || is_one_of(words[at + 2].surface, kTurns)))
        return true;
    return at >= 2 && words[at - 1].surface == kNo && is_one_of(words[at - 2].surface, kCountedAlong);
}

}  // namespace

void apply_context_readings(std::vector<ReadWord>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        ReadWord& word = words[i];
        if (word.base_form == kAku && word.pronunciation.compare(0, 2, kKatakanaA) == 0) {
            if (follows_subject(words, i, kEmptyingSubjects)) word.pronunciation.replace(0, 2, kKatakanaSu);
        } else if (word.base_form == kOriru && word.surface == kFuriStem &&
                   word.pronunciation.compare(0, 2, kKatakanaO) == 0) {
            if (follows_subject(words, i, kFallingSubjects)) word.pronunciation.replace(0, 2, kKatakanaFu);
        } else if (word.surface == kKaku && word.pronunciation == kKakuReading) {
            if (is_street_corner(words, i)) word.pronunciation = kKadoReading;
        }
    }
}

}  // namespace vokari
