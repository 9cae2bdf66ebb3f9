#include "translate/accent_events.h"

#include <algorithm>
#include <cstddef>

namespace vokari {

namespace {

// How far ahead a kana and a mora are looked for to get back in step.
constexpr std::size_t kResyncWindow = 8;

std::size_t distance_to_kana(const std::vector<KanaStart>& starts, std::size_t from, const std::string& kana) {
    for (std::size_t d = 1; d <= kResyncWindow && from + d < starts.size(); ++d)
        if (starts[from + d].kana == kana) return d;
    return 0;
}

std::size_t distance_to_mora(const std::vector<MoraPitch>& morae, std::size_t from, const std::string& kana) {
    for (std::size_t d = 1; d <= kResyncWindow && from + d < morae.size(); ++d)
        if (morae[from + d].kana == kana) return d;
    return 0;
}

void merge_by_time(std::vector<ControlEvent>& events, const std::vector<ControlEvent>& added) {
    if (added.empty()) return;
    std::vector<ControlEvent> merged;
    merged.reserve(events.size() + added.size());
    std::size_t a = 0;
    for (const ControlEvent& event : added) {
        while (a < events.size() && events[a].time <= event.time) merged.push_back(events[a++]);
        merged.push_back(event);
    }
    merged.insert(merged.end(), events.begin() + static_cast<std::ptrdiff_t>(a), events.end());
    events.swap(merged);
}

}  // namespace

void add_accent_events(Timeline& timeline, const std::vector<KanaStart>& starts, const std::vector<MoraPitch>& morae) {
    Timeline accents;
    double current[2] = {1.0, 1.0};
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < starts.size() && j < morae.size()) {
        if (starts[i].kana != morae[j].kana) {
            const std::size_t kana_ahead = distance_to_kana(starts, i, morae[j].kana);
            const std::size_t mora_ahead = distance_to_mora(morae, j, starts[i].kana);
            if (kana_ahead != 0 && (mora_ahead == 0 || kana_ahead <= mora_ahead)) {
                i += kana_ahead;
                continue;
            }
            if (mora_ahead != 0) {
                j += mora_ahead;
                continue;
            }
            // Nothing alike nearby: the kana stands for the mora it replaced.
        }
        const int speaker = starts[i].speaker == 1 ? 1 : 0;
        if (morae[j].factor != current[speaker]) {
            current[speaker] = morae[j].factor;
            emit_control(accents, starts[i].ms, speaker, AccentSet, morae[j].factor);
        }
        ++i;
        ++j;
    }
    for (int s = 0; s < 2; ++s) {
        std::vector<ControlEvent>& added = accents.control_events[s];
        // Waits that run backwards can put a kana before the one read earlier.
        std::stable_sort(added.begin(), added.end(),
                         [](const ControlEvent& x, const ControlEvent& y) { return x.time < y.time; });
        merge_by_time(timeline.control_events[s], added);
    }
}

}  // namespace vokari
