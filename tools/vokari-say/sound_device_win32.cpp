// On Windows the module plays through the system's own player: a sound
// output device is all it needs.
#include "tools/vokari-say/sound_device.h"

#include <windows.h>
#include <mmsystem.h>

namespace vokari {
namespace say {

SoundDevice find_sound_device() {
    SoundDevice device;
    device.usable = waveOutGetNumDevs() > 0;
    if (!device.usable) device.problem = "this machine has no sound output device";
    return device;
}

}  // namespace say
}  // namespace vokari
