// The output WAV image (58-byte header + 8-bit mu-law samples at 22050 Hz)
// and the rendering and playback of one request's speech.
#pragma once

#include <cstdint>

#include "base/wav_format.h"
#include "translate/scan_result.h"
#include "translate/timeline.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

constexpr std::int32_t kMaxOutputSamples = 1048576;

// The module's one WAV image, a global memory block that the player may be
// playing: null until the first render.  Destroying it stops playback first.
struct WavImage {
    std::uint8_t* bytes = nullptr;  // header and samples
    std::int32_t samples = 0;

    WavImage() = default;
    WavImage(const WavImage&) = delete;
    WavImage& operator=(const WavImage&) = delete;
    ~WavImage();
};

// Output samples for a speech of `duration_ms` milliseconds: the 22050 Hz
// samples of the duration (truncated toward zero) plus the 1000-sample
// lead-in, before the size limit.  Formed in 64 bits; may be 0 or negative.
// Durations beyond the int range count as its ends: they lie far past the
// largest image, or far before its start, either way.
std::int64_t output_sample_count(std::int64_t duration_ms);

// Renders and plays the speech of `duration_ms` milliseconds that `timeline`
// holds: stops the previous sound, replaces `image` by a new image of
// output_sample_count(duration_ms) samples (at most kMaxOutputSamples, logging
// a WARNING beyond), renders the timeline into it, saves it when `sound_file`
// asks for a file, and plays it unless that request is silent.  A count of 0
// or less does nothing at all; a failed allocation logs an ERROR and leaves
// the image null.  A saved file may replace a sound effect of `voice`.
void render_and_play(LoadedVoice& voice, WavImage& image, const Timeline& timeline, const SoundFileRequest& sound_file,
                     std::int64_t duration_ms);

// Stops playback, then frees the image (unload).
void release_wav_image(WavImage& image);

}  // namespace vokari
