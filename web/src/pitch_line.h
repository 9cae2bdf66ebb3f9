// The pitch accent of the last spoken script, kept for the page's pitch line.
#pragma once

namespace web {

// Forgets the kept pitch line, so that a request that speaks nothing leaves
// none; called before every request.
void forget_pitch_line();

}  // namespace web
