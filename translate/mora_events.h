// The reading step's morae as the scanner speaks them: the kana that start a
// mora give that mora's events (its accent), in the order they are spoken.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "reading/spoken_kana.h"
#include "translate/timeline.h"

namespace vokari {

class MoraStream {
public:
    // `morae` in order; `mora_at` holds per byte of the voice text the number
    // of the mora whose kana start there, -1 elsewhere.
    MoraStream(const std::vector<SpokenMora>& morae, std::vector<std::int32_t> mora_at)
        : morae_(morae), mora_at_(std::move(mora_at)) {}

    // The first mora whose kana start within text[pos, pos + bytes), or null.
    const SpokenMora* find(std::int32_t pos, std::int32_t bytes) const;

    // The events of `mora` spoken by `speaker` at `ms`.  A speaker gets an
    // accent event only where its factor changes.
    void speak(const SpokenMora& mora, std::int64_t ms, int speaker);

    // The melody: `log_f0` (natural logs of F0 in Hz, one a frame of
    // `frame_ms`, 0 unvoiced) as factors around the line's mean.
    void set_melody(const std::vector<double>& log_f0, int frame_ms);

    // The melody over a timed `mora` spoken by `speaker` from `ms` for
    // `length_ms`: an event for every voiced frame whose factor differs from
    // the last.
    void glide(const SpokenMora& mora, std::int64_t ms, std::int64_t length_ms, int speaker);

    // Merges the events into each speaker's control list: by time, the list's
    // own events keeping their order.
    void add_to(Timeline& timeline);

private:
    const std::vector<SpokenMora>& morae_;
    const std::vector<std::int32_t> mora_at_;
    double factor_[2] = {1.0, 1.0};
    std::vector<double> melody_;  // per frame, 0 unvoiced
    int frame_ms_ = 0;
    double melody_now_[2] = {1.0, 1.0};
    Timeline events_;
};

}  // namespace vokari
