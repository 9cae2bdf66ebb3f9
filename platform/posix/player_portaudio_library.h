// PortAudio, loaded at run time: the module's player plays through it and
// vokari-say asks it beforehand whether there is a device to play on.
#pragma once

namespace vokari {
namespace platform {

// The few PortAudio declarations used (portaudio.h, API version 19).
typedef int PaError;
typedef void PaStream;
typedef unsigned long PaSampleFormat;
typedef unsigned long PaStreamCallbackFlags;
struct PaStreamCallbackTimeInfo;
typedef int PaStreamCallback(const void* input, void* output, unsigned long frame_count,
                             const PaStreamCallbackTimeInfo* time_info, PaStreamCallbackFlags status_flags,
                             void* user_data);
constexpr PaError paNoError = 0;
constexpr int paNoDevice = -1;
constexpr PaSampleFormat paInt16 = 0x00000008;
constexpr unsigned long paFramesPerBufferUnspecified = 0;
constexpr int paContinue = 0;
constexpr int paComplete = 1;

// The calls of the library; a call the library lacks is null.
struct PortAudioLibrary {
    PaError (*initialize)();
    PaError (*terminate)();
    int (*default_output_device)();
    PaError (*open_default_stream)(PaStream**, int, int, PaSampleFormat, double, unsigned long, PaStreamCallback*,
                                   void*);
    PaError (*start_stream)(PaStream*);
    PaError (*abort_stream)(PaStream*);
    PaError (*close_stream)(PaStream*);
};

// Opens the library `name` (it stays loaded) and looks up its calls; false
// when it cannot be opened.
bool load_portaudio(const char* name, PortAudioLibrary& library);

// Sends everything written to stderr to /dev/null while it lives: the sound
// libraries report every device they probe there, which is not the user's
// business.
class SilencedStderr {
public:
    SilencedStderr();
    ~SilencedStderr();
    SilencedStderr(const SilencedStderr&) = delete;
    SilencedStderr& operator=(const SilencedStderr&) = delete;

private:
    int saved_;
};

}  // namespace platform
}  // namespace vokari
