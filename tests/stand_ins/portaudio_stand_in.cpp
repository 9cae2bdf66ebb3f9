#include "portaudio_stand_in.h"

#include <cstdint>
#include <cstdio>

using vokari::platform::PaError;
using vokari::platform::PaSampleFormat;
using vokari::platform::PaStream;
using vokari::platform::PaStreamCallback;

namespace {

PortAudioStandIn g_stand_in{};
int g_stream;  // its address is the one stream handed out

constexpr PaError kFailure = -9999;

}  // namespace

extern "C" {

PortAudioStandIn* portaudio_stand_in() { return &g_stand_in; }

int portaudio_stand_in_pull(std::int16_t* out, unsigned long frames) {
    return g_stand_in.callback(nullptr, out, frames, nullptr, 0, g_stand_in.user_data);
}

PaError Pa_Initialize() {
    ++g_stand_in.initialize_calls;
    std::fputs("ALSA lib pcm.c: unknown PCM cards.pcm.rear\n", stderr);
    return vokari::platform::paNoError;
}

PaError Pa_Terminate() { return vokari::platform::paNoError; }

int Pa_GetDefaultOutputDevice() { return 0; }

PaError Pa_OpenDefaultStream(PaStream** stream, int input_channels, int output_channels, PaSampleFormat format,
                             double sample_rate, unsigned long, PaStreamCallback* callback, void* user_data) {
    ++g_stand_in.open_calls;
    std::fputs("Cannot connect to server socket err = No such file or directory\n", stderr);
    if (input_channels != 0) return kFailure;
    g_stand_in.channels = output_channels;
    g_stand_in.format = format;
    g_stand_in.sample_rate = sample_rate;
    g_stand_in.callback = callback;
    g_stand_in.user_data = user_data;
    *stream = &g_stream;
    return vokari::platform::paNoError;
}

PaError Pa_StartStream(PaStream* stream) {
    ++g_stand_in.start_calls;
    return stream == &g_stream && !g_stand_in.refuse_start ? vokari::platform::paNoError : kFailure;
}

PaError Pa_AbortStream(PaStream* stream) {
    ++g_stand_in.abort_calls;
    return stream == &g_stream ? vokari::platform::paNoError : kFailure;
}

PaError Pa_CloseStream(PaStream* stream) {
    ++g_stand_in.close_calls;
    return stream == &g_stream ? vokari::platform::paNoError : kFailure;
}

}  // extern "C"
