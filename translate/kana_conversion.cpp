// Kana conversion: one Japanese character of the voice text becomes the onset
// and vowel events of its phoneme slot.  Every character, recognised or not,
// lasts one talk-speed unit.
#include "translate/kana_conversion.h"

#include "translate/kana_index.h"
#include "translate/kana_tables.h"
#include "translate/scan_state.h"
#include "translate/time_math.h"
#include "translate/timeline.h"

namespace vokari {

namespace {

// The events of one recognised kana of slot `slot` starting at `ms`: an onset
// event for a consonant slot, then the event of its vowel, which starts the
// onset's vowel_delay later and fades in over its loop_chunk_offset.
void emit_kana(ScanState& state, int slot) {
    const std::int64_t ms = state.time_ms;
    const int speaker = state.speaker;
    const int vowel = vowel_of[slot];
    std::int32_t carry_fade = 1;
    std::int32_t carry_delay = 0;
    if (slot != vowel)
        emit_phoneme(state.timeline, state.voice.bank, ms, speaker, slot, state.wa_countdown, false, carry_fade,
                     carry_delay);
    emit_phoneme(state.timeline, state.voice.bank, ms, speaker, vowel, state.wa_countdown, true, carry_fade,
                 carry_delay);
}

// Speaks `slot`, consumes `bytes` and one character of time.
void speak(ScanState& state, int slot, std::int32_t bytes) {
    if (state.morae != nullptr) state.morae->speak(state.pos, bytes, state.time_ms, state.speaker);
    emit_kana(state, slot);
    state.time_ms = add_time(state.time_ms, state.speed_ms);
    state.pos += bytes;
}

// A long-vowel mark: the sound before it goes on for one more character.
void extend(ScanState& state, std::int32_t bytes) {
    state.time_ms = add_time(state.time_ms, state.speed_ms);
    state.pos += bytes;
}

// Anything else: one character of silence.
void silence(ScanState& state, std::int32_t bytes) {
    spend_silent_characters(state, 1);
    state.pos += bytes;
}

}  // namespace

// Contracted sounds are found before single kana, so that kya is one kana
// and never ki followed by a stray small ya; half-width kana with a voicing
// mark before the kana alone, so that ga is never ka and a stray mark.  Any
// other character is silence: 2 bytes for a double-byte one (also when its
// lead byte is the text's last byte), 1 for a half-width one.
void convert_fullwidth_kana(ScanState& state) {
    std::int32_t size = 0;
    int slot = hiragana_index.find(state.text, state.pos, state.length, size);
    if (slot < 0) slot = katakana_index.find(state.text, state.pos, state.length, size);
    if (slot >= 0) return speak(state, slot, size);
    if (fullwidth_long_vowel_marks.match(state.text, state.pos, state.length) >= 0) return extend(state, 2);
    silence(state, 2);
}

void convert_halfwidth_kana(ScanState& state) {
    std::int32_t size = 0;
    const int slot = halfwidth_index.find(state.text, state.pos, state.length, size);
    if (slot >= 0) return speak(state, slot, size);
    if (halfwidth_long_vowel_marks.match(state.text, state.pos, state.length) >= 0) return extend(state, 1);
    silence(state, 1);
}

}  // namespace vokari
