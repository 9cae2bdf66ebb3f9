// The pitch accent of the last spoken script, kept for the page's pitch line.
#pragma once

namespace web {

// Forgets the kept pitch line and watches the next spoken script for its own;
// called before every request.
void watch_next_pitch_line();

}  // namespace web
