// Loading PortAudio at run time and finding the functions the player calls.
#include "platform/posix/player_portaudio_library.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace vokari {
namespace platform {

namespace {

template <typename Function>
void find_symbol(void* handle, const char* name, Function& out) {
    out = reinterpret_cast<Function>(::dlsym(handle, name));
}

}  // namespace

bool load_portaudio(const char* name, PortAudioLibrary& library) {
    library = PortAudioLibrary{};
    void* handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return false;
    find_symbol(handle, "Pa_Initialize", library.initialize);
    find_symbol(handle, "Pa_Terminate", library.terminate);
    find_symbol(handle, "Pa_GetDefaultOutputDevice", library.default_output_device);
    find_symbol(handle, "Pa_OpenDefaultStream", library.open_default_stream);
    find_symbol(handle, "Pa_StartStream", library.start_stream);
    find_symbol(handle, "Pa_AbortStream", library.abort_stream);
    find_symbol(handle, "Pa_CloseStream", library.close_stream);
    return true;
}

SilencedStderr::SilencedStderr() {
    std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    const int null_device = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null_device >= 0) ::dup2(null_device, STDERR_FILENO);
    if (null_device >= 0) ::close(null_device);
}

SilencedStderr::~SilencedStderr() {
    std::fflush(stderr);
    if (saved_ >= 0) {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
}

}  // namespace platform
}  // namespace vokari
