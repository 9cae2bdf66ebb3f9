// The pitch line over the page's waveform: the accent events (or, with the
// prosody model, the melody's) that the module put into the timeline it rendered, taken from that timeline itself so
// that the line shows what was played, not a second reckoning of the accent.  The browser build's definition of the
// module's front-end view.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "host/front_end_hook.h"
#include "pitch_line.h"
#include "translate/timeline.h"

namespace {

struct SpeakerPitch {
    std::vector<vokari::ControlEvent> accent;  // AccentSet and MelodySet events, in timeline order
    // [start, end) in samples where the speaker's voice runs: from a sample's
    // start to the silence that releases it.
    std::vector<std::pair<std::int32_t, std::int32_t>> spans;
};

SpeakerPitch kept[2];
std::string result_text;

}  // namespace

namespace web {

void forget_pitch_line() {
    for (SpeakerPitch& speaker : kept) {
        speaker.accent.clear();
        speaker.spans.clear();
    }
}

}  // namespace web

// Keeps the accent events and voice spans of the timeline about to be
// rendered, in place of the last script's.
void vokari::show_timeline_to_front_end(const Timeline& timeline) {
    web::forget_pitch_line();
    for (int s = 0; s < 2; ++s) {
        SpeakerPitch& speaker = kept[s];
        for (const vokari::ControlEvent& event : timeline.control_events[s])
            if (event.kind == vokari::AccentSet || event.kind == vokari::MelodySet) speaker.accent.push_back(event);
        bool open = false;
        for (const vokari::PhonemeEvent& event : timeline.phoneme_events[s]) {
            if (!open && event.slot >= 0) {
                speaker.spans.push_back({event.time, INT32_MAX});
                open = true;
            } else if (open && event.slot < 0) {
                speaker.spans.back().second = event.time;
                open = false;
            }
        }
    }
}

extern "C" {

// The kept pitch line up to sample `samples` (the rendered length), as JSON
// valid until the next call: per speaker its accent events [sample, factor]
// and the spans [start, end) where its voice runs:
// {"speakers":[{"accent":[[N,F],...],"spans":[[N,N],...]},{...}]}
// Before the first event a speaker's factor is 1.
EMSCRIPTEN_KEEPALIVE const char* web_pitch_line(int samples) {
    result_text = "{\"speakers\":[";
    char number[40];
    for (int s = 0; s < 2; ++s) {
        if (s != 0) result_text += ',';
        result_text += "{\"accent\":[";
        bool first = true;
        for (const vokari::ControlEvent& event : kept[s].accent) {
            if (event.time >= samples) continue;
            std::snprintf(number, sizeof number, "%s[%d,%.17g]", first ? "" : ",", static_cast<int>(event.time),
                          event.value);
            result_text += number;
            first = false;
        }
        result_text += "],\"spans\":[";
        first = true;
        for (const auto& span : kept[s].spans) {
            if (span.first >= samples || span.second <= span.first) continue;
            std::snprintf(number, sizeof number, "%s[%d,%d]", first ? "" : ",", static_cast<int>(span.first),
                          static_cast<int>(span.second < samples ? span.second : samples));
            result_text += number;
            first = false;
        }
        result_text += "]}";
    }
    result_text += "]}";
    return result_text.c_str();
}

}  // extern "C"
