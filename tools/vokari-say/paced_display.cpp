// Character-by-character output with the host's timing.
#include "tools/vokari-say/paced_display.h"

#include <string>

namespace vokari {
namespace say {
namespace {

const char* speaker_label(int speaker) { return speaker == 0 ? "[main] " : "[partner] "; }

}  // namespace

void show_paced(const DisplayTimeline& timeline, std::FILE* out, const std::function<void(int ms)>& sleep_ms) {
    int now_ms = 0;
    bool line_empty = true;  // nothing written since the last line feed
    bool labelled = false;   // a label stands at the start of the text
    int speaker = 0;
    for (const DisplayEvent& event : timeline.events) {
        if (event.time_ms > now_ms) {
            sleep_ms(event.time_ms - now_ms);
            now_ms = event.time_ms;
        }
        switch (event.kind) {
        case DisplayKind::SpeakerSwitch:
            if (!line_empty) std::fputc('\n', out);
            speaker = event.speaker;
            std::fputs(speaker_label(speaker), out);
            line_empty = false;
            labelled = true;
            break;
        case DisplayKind::LineBreak:
            std::fprintf(out, "\n%*s", static_cast<int>(std::string(speaker_label(speaker)).size()), "");
            break;
        case DisplayKind::Character:
            if (!labelled) {
                std::fputs(speaker_label(speaker), out);
                labelled = true;
            }
            std::fputs(event.character.c_str(), out);
            line_empty = false;
            break;
        }
        std::fflush(out);
    }
    std::fputc('\n', out);
    std::fflush(out);
}

}  // namespace say
}  // namespace vokari
