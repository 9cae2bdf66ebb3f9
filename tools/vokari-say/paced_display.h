// Shows a reply on a terminal the way the host shows it in its balloons.
#pragma once

#include <cstdio>
#include <functional>

#include "tools/vokari-say/display_timeline.h"

namespace vokari {
namespace say {

// Writes the shown characters of `timeline` to `out`, each at its moment:
// before every event `sleep_ms` is called with the milliseconds still to wait.
// Each speaker's text starts on a line of its own after a label, "[main] " for
// the main character and "[partner] " for the partner; a line break starts a
// new line indented under the label.  Ends with a line feed.
void show_paced(const DisplayTimeline& timeline, std::FILE* out, const std::function<void(int ms)>& sleep_ms);

}  // namespace say
}  // namespace vokari
