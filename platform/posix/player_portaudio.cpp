// Playback on Linux through PortAudio, loaded with dlopen at first use so that
// the module has no link-time dependency on it.  A WAV image is decoded once
// to 16-bit samples and fed to a callback stream of the default output device;
// purge aborts the stream at once.  Without the library, or without a usable
// device, nothing is played and the module works on.
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/mulaw.h"
#include "base/mulaw_wav.h"
#include "platform/player_backends.h"
#include "platform/posix/player_portaudio_library.h"

namespace vokari {
namespace platform {
namespace {

// The sound being played; the callback reads it on PortAudio's thread between
// the start of the stream and its abort.
struct Playback {
    std::vector<std::int16_t> samples;
    std::size_t next = 0;
};

// Never destroyed: a stream the host left playing at exit may still read it.
struct State {
    PortAudioLibrary library{};
    bool initialized = false;
    bool unusable = false;
    PaStream* stream = nullptr;
    Playback playback;
};
State& state() {
    static State* const instance = new State;
    return *instance;
}

bool load_library(PortAudioLibrary& library) {
    return load_portaudio("libportaudio.so.2", library) && library.initialize != nullptr &&
           library.open_default_stream != nullptr && library.start_stream != nullptr &&
           library.abort_stream != nullptr && library.close_stream != nullptr;
}

// Initializes PortAudio on the first sound; false (for good) when it fails.
bool ensure_initialized() {
    State& s = state();
    if (s.unusable) return false;
    if (!s.initialized) {
        SilencedStderr quiet;
        s.initialized = s.library.initialize() == paNoError;
        s.unusable = !s.initialized;
    }
    return s.initialized;
}

int feed_stream(const void*, void* output, unsigned long frame_count, const PaStreamCallbackTimeInfo*,
                PaStreamCallbackFlags, void* user_data) {
    Playback& playback = *static_cast<Playback*>(user_data);
    std::int16_t* out = static_cast<std::int16_t*>(output);
    const std::size_t left = playback.samples.size() - playback.next;
    const std::size_t count = frame_count < left ? frame_count : left;
    std::memcpy(out, playback.samples.data() + playback.next, count * sizeof(std::int16_t));
    std::memset(out + count, 0, (frame_count - count) * sizeof(std::int16_t));
    playback.next += count;
    return playback.next < playback.samples.size() ? paContinue : paComplete;
}

// Stops the sound at once and closes its stream.
void purge() {
    State& s = state();
    if (s.stream == nullptr) return;
    s.library.abort_stream(s.stream);
    s.library.close_stream(s.stream);
    s.stream = nullptr;
}

// Starts playing the WAV image `image` of `bytes` bytes and returns at once.
void play_memory(const std::uint8_t* image, std::size_t bytes) {
    purge();
    State& s = state();
    // Anything but a mu-law image plays nothing, as with SND_NODEFAULT.
    MulawSamples found;
    if (find_mulaw_samples(image, bytes, found) != MulawWavProblem::none || found.count == 0) return;
    // The module's 14-bit scale, widened to 16 bits.
    s.playback.samples.resize(found.count);
    for (std::size_t i = 0; i < found.count; ++i)
        s.playback.samples[i] = static_cast<std::int16_t>(mulaw_decode_table[found.bytes[i]] * 4);
    const double sample_rate = found.sample_rate;
    if (!ensure_initialized()) return;
    s.playback.next = 0;
    SilencedStderr quiet;
    PaStream* stream = nullptr;
    if (s.library.open_default_stream(&stream, 0, 1, paInt16, sample_rate, paFramesPerBufferUnspecified, feed_stream,
                                      &s.playback) != paNoError) {
        return;
    }
    if (s.library.start_stream(stream) != paNoError) {
        s.library.close_stream(stream);
        return;
    }
    s.stream = stream;
}

const Player kPortAudioPlayer = {"PortAudio", play_memory, purge};

}  // namespace

const Player* system_player() {
    State& s = state();
    static const bool loaded = load_library(s.library);
    return loaded ? &kPortAudioPlayer : nullptr;
}

}  // namespace platform
}  // namespace vokari
