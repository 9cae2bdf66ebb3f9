// The events of the spoken morae, and their place among the scan's own.
#include "translate/mora_events.h"

#include <algorithm>
#include <cstddef>

#include "translate/pitch_factor.h"

namespace vokari {

namespace {

// ln 1.014546: the size of one pitch step as a difference of natural logs.
constexpr double kLogPitchStep = 0.014441221789058361;

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

void MoraStream::set_melody(const std::vector<double>& log_f0, int frame_ms) {
    double sum = 0.0;
    std::size_t voiced = 0;
    for (double value : log_f0) {
        if (value == 0.0) continue;
        sum += value;
        ++voiced;
    }
    if (voiced == 0 || frame_ms <= 0) return;
    const double mean = sum / static_cast<double>(voiced);
    frame_ms_ = frame_ms;
    melody_.assign(log_f0.size(), 0.0);
    for (std::size_t f = 0; f < log_f0.size(); ++f)
        if (log_f0[f] != 0.0) melody_[f] = pitch_factor((log_f0[f] - mean) / kLogPitchStep);
}

void MoraStream::glide(const SpokenMora& mora, std::int64_t ms, std::int64_t length_ms, int speaker) {
    if (frame_ms_ == 0 || mora.length_ms <= 0) return;
    const int s = speaker == 1 ? 1 : 0;
    const std::size_t first = static_cast<std::size_t>(mora.start_ms / frame_ms_);
    const std::size_t end =
        std::min(melody_.size(), static_cast<std::size_t>((mora.start_ms + mora.length_ms) / frame_ms_));
    for (std::size_t f = first; f < end; ++f) {
        const double factor = melody_[f];
        if (factor == 0.0 || factor == melody_now_[s]) continue;
        melody_now_[s] = factor;
        const std::int64_t into = static_cast<std::int64_t>(f) * frame_ms_ - mora.start_ms;
        emit_control(events_, ms + (into > 0 ? into * length_ms / mora.length_ms : 0), s, MelodySet, factor);
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
