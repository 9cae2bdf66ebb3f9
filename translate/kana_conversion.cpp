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
// onset's vowel_delay later and fades in over its loop_chunk_offset.  Without
// `voiced` the onset alone, which fades out by itself; a bare vowel then
// only ends the sound before it.
void emit_kana(ScanState& state, int slot, std::int64_t ms, bool voiced = true) {
    const int speaker = state.speaker;
    const int vowel = vowel_of[slot];
    std::int32_t carry_fade = 1;
    std::int32_t carry_delay = 0;
    if (slot != vowel)
        emit_phoneme(state.timeline, state.voice.bank, ms, speaker, slot, state.wa_countdown, false, carry_fade,
                     carry_delay);
    else if (!voiced) emit_silence(state.timeline, ms, speaker);
    if (voiced)
        emit_phoneme(state.timeline, state.voice.bank, ms, speaker, vowel, state.wa_countdown, true, carry_fade,
                     carry_delay);
}

// A time of the prosody model at the scan's speed: the voice's speed and the
// speed tags scale the model's tempo as they scale a character.
std::int64_t at_speed(const ScanState& state, std::int32_t model_ms) {
    return static_cast<std::int64_t>(model_ms) * state.speed_ms / kDefaultTalkSpeed;
}

// The reading step's mora that starts in the next `bytes`, or null.
const SpokenMora* mora_here(const ScanState& state, std::int32_t bytes) {
    return state.morae != nullptr ? state.morae->find(state.pos, bytes) : nullptr;
}

// Starts a mora the model timed: the model's pause before it is kept where
// the text's own silence since the speaker's last timed mora was shorter;
// then its accent.
void start_timed(ScanState& state, const SpokenMora& mora) {
    const int speaker = state.speaker == 1 ? 1 : 0;
    if (mora.pause_ms > 0 && state.timed_end_ms[speaker] != kNoTimedMora) {
        const std::int64_t until = add_time(state.timed_end_ms[speaker], at_speed(state, mora.pause_ms));
        if (until > state.time_ms) state.time_ms = until;
    }
    state.morae->speak(mora, state.time_ms, state.speaker);
}

// True for the slots whose consonant is said without voice (k, s, t, h, p
// and their contracted rows).
bool voiceless_onset(int slot) {
    return (slot >= 5 && slot <= 19) || (slot >= 25 && slot <= 29) || (slot >= 66 && slot <= 79) ||
           (slot >= 83 && slot <= 85) || slot >= 104;
}

// The sound before a voiceless stretch is released this long before it
// starts, so that its fade has ended about where the model's voice stops.
constexpr std::int64_t kVoicelessReleaseLeadMs = 50;

// Releases the speaker's sound kVoicelessReleaseLeadMs before `ms`, never
// before the speaker's last event; a speaker already silent is left so.
void release_before(ScanState& state, std::int64_t ms) {
    std::vector<PhonemeEvent>& events = state.timeline.phoneme_events[state.speaker];
    if (events.empty() || events.back().slot < 0) return;
    const std::int32_t at = ms_to_samples(add_time(ms, -kVoicelessReleaseLeadMs));
    events.push_back(PhonemeEvent{at > events.back().time ? at : events.back().time, -1, 0, 1});
}

// Ends a timed mora after its length, consuming `bytes`.
void end_timed(ScanState& state, const SpokenMora& mora, std::int32_t bytes) {
    const std::int64_t length = at_speed(state, mora.length_ms);
    state.time_ms = add_time(state.time_ms, length > 0 ? length : 1);
    state.timed_end_ms[state.speaker == 1 ? 1 : 0] = state.time_ms;
    state.pos += bytes;
}

// A mora the model timed: its consonant starts so that the sample's vowel
// onset falls on the model's vowel start (never before the mora), a
// devoiced one is its consonant alone, and a held vowel (ー) starts nothing,
// so the vowel before it goes on sounding.
void speak_timed(ScanState& state, int slot, std::int32_t bytes, const SpokenMora& mora) {
    start_timed(state, mora);
    state.morae->glide(mora, state.time_ms, at_speed(state, mora.length_ms), state.speaker);
    if (!mora.held) {
        const bool said_as_wa = slot == kHaSlot && state.wa_countdown == 2;
        if (mora.devoiced || (voiceless_onset(slot) && !said_as_wa)) release_before(state, state.time_ms);
        std::int64_t onset = state.time_ms;
        if (slot != vowel_of[slot]) {
            const std::int64_t delay_ms = state.voice.bank.slots[state.speaker][slot].vowel_delay * 1000LL / 22050;
            const std::int64_t lead = at_speed(state, mora.vowel_ms) - delay_ms;
            if (lead > 0) onset = add_time(onset, lead);
        }
        emit_kana(state, slot, onset, !mora.devoiced);
    }
    end_timed(state, mora, bytes);
}

// Speaks `slot`, consumes `bytes` and one character of time (the model's
// length for a mora it timed).
void speak(ScanState& state, int slot, std::int32_t bytes) {
    if (const SpokenMora* mora = mora_here(state, bytes)) {
        if (mora->length_ms > 0) return speak_timed(state, slot, bytes, *mora);
        state.morae->speak(*mora, state.time_ms, state.speaker);
    }
    emit_kana(state, slot, state.time_ms);
    state.time_ms = add_time(state.time_ms, state.speed_ms);
    state.pos += bytes;
}

// A long-vowel mark: the sound before it goes on for one more character.
void extend(ScanState& state, std::int32_t bytes) {
    state.time_ms = add_time(state.time_ms, state.speed_ms);
    state.pos += bytes;
}

// Anything else: one character of silence; a mora the model timed (っ): a
// closure of its length.
void silence(ScanState& state, std::int32_t bytes) {
    const SpokenMora* mora = mora_here(state, bytes);
    if (mora != nullptr && mora->length_ms > 0) {
        start_timed(state, *mora);
        release_before(state, state.time_ms);
        emit_silence(state.timeline, state.time_ms, state.speaker);
        return end_timed(state, *mora, bytes);
    }
    // A sign right after a timed mora: the model's voice stops at the mora's end.
    if (state.morae != nullptr && state.timed_end_ms[state.speaker == 1 ? 1 : 0] == state.time_ms)
        release_before(state, state.time_ms);
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
