// The moments at which the host shows each character of a reply, and the
// picture of an utterance, worked out by the same code as vokari-say's
// --pace and --svg so that the page and the command line agree.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>

#include "tools/vokari-say/display_timeline.h"
#include "tools/vokari-say/mulaw_wav.h"
#include "tools/vokari-say/utterance_svg.h"
#include "json_text.h"

namespace {

std::string result_text;

}  // namespace

extern "C" {

// The host's delay per shown character, in ms, for a message speed in ms.
EMSCRIPTEN_KEEPALIVE int web_character_delay_ms(int message_speed_ms) {
    return vokari::say::host_character_delay_ms(message_speed_ms);
}

// reply_utf8: a reply script (UTF-8, NUL-terminated); character_delay_ms: the
// host's delay per character.  Returns JSON, valid until the next call:
// {"end_ms":N,"events":[{"kind":"char"|"speaker"|"break","ms":N,"speaker":N,"text":"..."},...]}
EMSCRIPTEN_KEEPALIVE const char* web_display_timeline(const char* reply_utf8, int character_delay_ms) {
    const vokari::say::DisplayTimeline timeline = vokari::say::build_display_timeline(reply_utf8, character_delay_ms);
    result_text = "{\"end_ms\":" + std::to_string(timeline.end_ms) + ",\"events\":[";
    bool first = true;
    for (const vokari::say::DisplayEvent& event : timeline.events) {
        if (!first) result_text += ',';
        first = false;
        const char* kind = event.kind == vokari::say::DisplayKind::Character       ? "char"
                           : event.kind == vokari::say::DisplayKind::SpeakerSwitch ? "speaker"
                                                                                   : "break";
        result_text += std::string("{\"kind\":\"") + kind + "\",\"ms\":" + std::to_string(event.time_ms) +
                       ",\"speaker\":" + std::to_string(event.speaker) + ",\"text\":";
        web::append_json_string(result_text, event.character);
        result_text += '}';
    }
    result_text += "]}";
    return result_text.c_str();
}

// wav_path: a mu-law WAV file in the worker's file system; reply_utf8 and
// character_delay_ms as above; title_utf8: the picture's title.  Returns an
// SVG document (empty when the file cannot be read), valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* web_utterance_svg(const char* wav_path, const char* reply_utf8, int character_delay_ms,
                                                   const char* title_utf8) {
    const vokari::say::MuLawWav wav = vokari::say::read_mulaw_wav(wav_path);
    if (!wav.ok) {
        result_text.clear();
        return result_text.c_str();
    }
    const vokari::say::DisplayTimeline timeline = vokari::say::build_display_timeline(reply_utf8, character_delay_ms);
    result_text = vokari::say::draw_utterance_svg(wav, timeline, title_utf8);
    return result_text.c_str();
}

}  // extern "C"
