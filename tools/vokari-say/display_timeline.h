// The moments at which the host shows each character of a reply script: every
// shown character costs the host's own per-character delay, and the script's
// wait tags ("\_w[ms]", "\w<digit>" = digit x 50 ms) add their time.
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace say {

enum class DisplayKind { Character, SpeakerSwitch, LineBreak };

struct DisplayEvent {
    DisplayKind kind;
    int time_ms;            // when the host shows it, from the start of the reply
    int speaker;            // 0 main character, 1 partner (the one speaking now)
    std::string character;  // the UTF-8 character shown (Character only)
};

struct DisplayTimeline {
    std::vector<DisplayEvent> events;
    int end_ms = 0;  // when the last character's delay and the last wait are over
};

// The host's delay per shown character, in ms, for its message speed setting
// `message_speed_ms`.  The module subtracts exactly this from every wait it
// inserts, so a host that spends it keeps pace with the voice.
int host_character_delay_ms(int message_speed_ms);

// Walks a UTF-8 reply script the way the host shows it: characters appear one
// by one `character_delay_ms` apart, wait tags pause, "\0" and "\1" switch the
// speaker, "\n" breaks the line, "\\" shows a backslash, and every other tag of
// the host (with its bracketed argument) shows nothing.
DisplayTimeline build_display_timeline(const std::string& reply_utf8, int character_delay_ms);

}  // namespace say
}  // namespace vokari
