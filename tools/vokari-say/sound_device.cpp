// A PortAudio probe through the module's own loader: initialise, ask for the
// default output device, terminate.  On Windows the module plays through the
// system's own player: a sound output device is all it needs.
#include "tools/vokari-say/sound_device.h"

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include <cstdlib>

#include "platform/posix/player_portaudio_library.h"
#endif

namespace vokari {
namespace say {

SoundDevice find_sound_device() {
#ifdef _WIN32
    if (waveOutGetNumDevs() == 0) return SoundDevice{false, "this machine has no sound output device"};
#else
    const char* named = std::getenv("VOKARI_SAY_PORTAUDIO");
    const std::string library = named != nullptr && named[0] != '\0' ? named : "libportaudio.so.2";
    // The library stays loaded: the module loads the same one to play.
    vokari::platform::PortAudioLibrary portaudio;
    if (!vokari::platform::load_portaudio(library.c_str(), portaudio))
        return SoundDevice{
            false, "the sound library " + library + " is not installed (Debian: apt-get install libportaudio2)"};
    if (portaudio.initialize == nullptr || portaudio.terminate == nullptr || portaudio.default_output_device == nullptr)
        return SoundDevice{false, library + " is not a usable PortAudio library"};
    vokari::platform::SilencedStderr quiet;
    if (portaudio.initialize() != vokari::platform::paNoError)
        return SoundDevice{false, "the sound system could not be started"};
    const int device = portaudio.default_output_device();
    portaudio.terminate();
    if (device == vokari::platform::paNoDevice) return SoundDevice{false, "this machine has no sound output device"};
#endif
    return SoundDevice{true, ""};
}

}  // namespace say
}  // namespace vokari
