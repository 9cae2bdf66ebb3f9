// The events of the spoken morae, and their place among the scan's own.
#include "translate/mora_events.h"

#include <algorithm>
#include <cstddef>

namespace vokari {

namespace {

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

const SpokenMora* MoraStream::find(std::int32_t pos, std::int32_t bytes) const {
    const std::size_t end = std::min(mora_at_.size(), static_cast<std::size_t>(pos) + static_cast<std::size_t>(bytes));
    for (std::size_t at = static_cast<std::size_t>(pos); at < end; ++at)
        if (mora_at_[at] >= 0) return &morae_[static_cast<std::size_t>(mora_at_[at])];
    return nullptr;
}

void MoraStream::speak(const SpokenMora& mora, std::int64_t ms, int speaker) {
    const int s = speaker == 1 ? 1 : 0;
    if (mora.factor != factor_[s]) {
        factor_[s] = mora.factor;
        emit_control(events_, ms, s, AccentSet, mora.factor);
    }
}

void MoraStream::add_to(Timeline& timeline) {
    for (int s = 0; s < 2; ++s) {
        std::vector<ControlEvent>& added = events_.control_events[s];
        // Waits that run backwards can put a kana before the one spoken earlier.
        std::stable_sort(added.begin(), added.end(),
                         [](const ControlEvent& x, const ControlEvent& y) { return x.time < y.time; });
        merge_by_time(timeline.control_events[s], added);
    }
}

}  // namespace vokari
