// What a front end around the module sees of each spoken script: its
// timeline, just before it is rendered.  The library and the DLL show it to
// nobody (front_end_hook.cpp); the browser build links its own definition in
// its place, which keeps the pitch accent for the page's pitch line.
#pragma once

#include "translate/timeline.h"

namespace vokari {

void show_timeline_to_front_end(const Timeline& timeline);

}  // namespace vokari
