// Pitch accent of standard Japanese over analysed words: words grouped into
// accent phrases, each mora high or low by its phrase's accent type, and the
// pitch factor that the voice gives it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reading/spoken_kana.h"
#include "reading/text_reader.h"

namespace vokari {

// Phrases longer than this, or whose accent type lies past their end, or
// whose dictionary mora counts disagree with their pronunciation, are said
// flat: such data is damaged, not Japanese.
constexpr int kLongestAccentPhrase = 48;

// A sentence falls by this many pitch steps per accent phrase, down to
// kLowestDeclination, and starts again after 。！？ and after a pause of at
// least kLongPauseMs between two spoken words (wait tags and the silence of
// signs and unread words, added up): the speaker has drawn breath.
constexpr double kDeclinationPerPhrase = 0.5;
constexpr double kLowestDeclination = -4.0;
constexpr std::int64_t kLongPauseMs = 300;

// True when `depth` gives the accent any rise at all (it counts in half
// steps); below that the speech stays flat and untouched.
bool accent_is_on(double depth);

// Sets `high` and the pitch factor of `morae`, the spoken morae of `words`
// in order (each naming its word); `depth` is the accent's rise in pitch
// steps (1.014546 each).  High morae of the first phrase are 1.0.
void set_accent(const std::vector<ReadWord>& words, std::vector<SpokenMora>& morae, double depth);

// The morae of `words` (word_morae) with their accent.
std::vector<SpokenMora> accent_morae(const std::vector<ReadWord>& words, double depth);

}  // namespace vokari
