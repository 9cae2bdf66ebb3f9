// A stand-in for the PortAudio library, built under its name (libportaudio.so.2)
// and linked into the module's test program, so that the module's player finds
// it when it opens "libportaudio.so.2" at run time.  It plays nothing: it
// counts the calls, can refuse to start a stream, chatters on stderr as the
// sound libraries do, and lets the test pull samples as a device would.
#pragma once

#include <cstdint>

#include "platform/posix/player_portaudio_library.h"

struct PortAudioStandIn {
    int initialize_calls;
    int open_calls;
    int start_calls;
    int abort_calls;
    int close_calls;
    bool refuse_start;  // Pa_StartStream fails while set
    // The last stream opened.
    int channels;
    vokari::platform::PaSampleFormat format;
    double sample_rate;
    vokari::platform::PaStreamCallback* callback;
    void* user_data;
};

extern "C" PortAudioStandIn* portaudio_stand_in();

// Asks the last stream's callback for `frames` samples into `out`, as the
// device would; returns what the callback returns.
extern "C" int portaudio_stand_in_pull(std::int16_t* out, unsigned long frames);
