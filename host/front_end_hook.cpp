// The library's and the DLL's front end: nobody looks at the timeline.
#include "host/front_end_hook.h"

namespace vokari {

// The host sees the speech and the reply, nothing of the timeline.
void show_timeline_to_front_end(const Timeline&) {}

}  // namespace vokari
