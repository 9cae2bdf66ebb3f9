// The system's own sound player behind platform::current_player(): PlaySoundA
// on Windows, PortAudio (loaded at run time) on Linux.
#pragma once

#include "platform/platform.h"

namespace vokari {
namespace platform {

// The system's player, or null when this system has none that can be used
// (then the module plays nothing).  Asked once, at the first use of the player.
const Player* system_player();

}  // namespace platform
}  // namespace vokari
