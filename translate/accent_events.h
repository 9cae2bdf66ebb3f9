// The pitch accent in the timeline: each accented mora's factor becomes an
// AccentSet event at the start of the kana that says it.
#pragma once

#include <vector>

#include "reading/accent_phrases.h"
#include "translate/timeline.h"

namespace vokari {

// Pairs the scanned kana with the accent's morae in order (a kana that a
// pair or a tag changed is skipped past, so the rest stay in step) and
// merges the events into each speaker's control list: by time, the list's
// own events keeping their order.  A speaker gets an event only where its
// factor changes.
void add_accent_events(Timeline& timeline, const std::vector<KanaStart>& starts, const std::vector<MoraPitch>& morae);

}  // namespace vokari
