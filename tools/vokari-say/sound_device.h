// Whether this machine can play the module's sound.  The module plays through
// PortAudio's default output device and says nothing when it cannot, so
// vokari-say asks the same library beforehand.
#pragma once

#include <string>

namespace vokari {
namespace say {

struct SoundDevice {
    bool usable = false;
    std::string problem;  // why not, for the user, when not usable
};

// Loads PortAudio ("libportaudio.so.2", or the library named by the
// environment variable VOKARI_SAY_PORTAUDIO) and asks it for a default output
// device.  The library's own chatter on standard error is kept off the
// terminal.
SoundDevice find_sound_device();

}  // namespace say
}  // namespace vokari
