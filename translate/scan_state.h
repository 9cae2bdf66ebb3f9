// The running state of one scan, shared by the scanner and its handlers: kana
// conversion, script tags and voice-control tags.  Each handler is called with
// `pos` on the byte that selected it and leaves `pos` after what it consumed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/script_syntax.h"
#include "translate/mora_events.h"
#include "translate/scan_result.h"
#include "translate/timeline.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

// No timed mora spoken yet.
constexpr std::int64_t kNoTimedMora = INT64_MIN;

struct ScanState {
    ScanState(const LoadedVoice& voice, Timeline& timeline, const char* text, std::int32_t length)
        : voice(voice),
          timeline(timeline),
          text(text),
          length(length),
          tokens(text, length, voice.settings.tag_prefix),
          speed_ms(voice.settings.talk_default_speed) {}

    const LoadedVoice& voice;  // settings, bank and sound effects, read only
    Timeline& timeline;        // the events the scan emits
    ScanResult result;         // total_ms is filled in at the end

    const char* text;  // the voice text, not NUL-terminated
    std::int32_t length;
    ScriptTokenizer tokens;

    std::int32_t pos = 0;
    std::int64_t time_ms = 0;  // current time; may go negative through "_w["
    int speaker = 0;
    std::int32_t speed_ms;  // duration of one character
    std::int32_t wa_countdown = 0;
    bool overlap = false;                                         // speaker switches do not silence the other one
    bool voice_on = true;                                         // cleared by "n": the scan returns 0
    bool scanning = true;                                         // cleared by "e": the scan finishes
    MoraStream* morae = nullptr;                                  // when given: the reading step's morae
    std::int64_t timed_end_ms[2] = {kNoTimedMora, kNoTimedMora};  // where each speaker's last timed mora ended
};

// The byte at `pos` as an unsigned value.
inline unsigned char byte_at(const ScanState& state, std::int32_t pos) {
    return static_cast<unsigned char>(state.text[pos]);
}

// Characters of silence: one silence event now, then `characters` times the
// talk speed.
void spend_silent_characters(ScanState& state, std::int64_t characters);

}  // namespace vokari
