// A PortAudio probe: initialise, ask for the default output device, terminate.
#include "tools/vokari-say/sound_device.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace vokari_say {
namespace {

// The PortAudio calls used (API version 19).
using Initialize = int (*)();
using Terminate = int (*)();
using DefaultOutputDevice = int (*)();
constexpr int kNoError = 0;
constexpr int kNoDevice = -1;

// Standard error goes to /dev/null while this lives.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null_device = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null_device >= 0) ::dup2(null_device, STDERR_FILENO);
        if (null_device >= 0) ::close(null_device);
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;
};

SoundDevice unusable(const std::string& problem) {
    SoundDevice device;
    device.problem = problem;
    return device;
}

}  // namespace

SoundDevice find_sound_device() {
    const char* named = std::getenv("VOKARI_SAY_PORTAUDIO");
    const std::string library = named != nullptr && named[0] != '\0' ? named : "libportaudio.so.2";
    // The library stays loaded: the module loads the same one to play.
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return unusable("the sound library " + library + " is not installed (Debian: apt-get install libportaudio2)");
    const auto initialize = reinterpret_cast<Initialize>(::dlsym(handle, "Pa_Initialize"));
    const auto terminate = reinterpret_cast<Terminate>(::dlsym(handle, "Pa_Terminate"));
    const auto default_output = reinterpret_cast<DefaultOutputDevice>(::dlsym(handle, "Pa_GetDefaultOutputDevice"));
    if (initialize == nullptr || terminate == nullptr || default_output == nullptr)
        return unusable(library + " is not a usable PortAudio library");
    QuietStderr quiet;
    if (initialize() != kNoError) return unusable("the sound system could not be started");
    const int device = default_output();
    terminate();
    if (device == kNoDevice) return unusable("this machine has no sound output device");
    SoundDevice found;
    found.usable = true;
    return found;
}

}  // namespace vokari_say
