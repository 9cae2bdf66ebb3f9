// The output WAV image (58-byte header + 8-bit mu-law samples at 22050 Hz)
// and the rendering and playback of one request's speech.
#pragma once

#include <cstdint>

#include "host/base/wav_format.h"

namespace vokari {

constexpr std::int32_t kMaxOutputSamples = 1048576;

// The module's one WAV image: null until the first render.
extern std::uint8_t* wav_image;
extern std::int32_t wav_image_samples;

// Output samples for a speech of `duration_ms` milliseconds: the 22050 Hz
// samples of the duration (truncated toward zero) plus the 1000-sample
// lead-in, before the size limit.  Formed in 64 bits; may be 0 or negative.
// Durations beyond the int range count as its ends: they lie far past the
// largest image, or far before its start, either way.
std::int64_t output_sample_count(std::int64_t duration_ms);

// Renders and plays the request's speech of `duration_ms` milliseconds: stops
// the previous sound, replaces wav_image by a new image of
// output_sample_count(duration_ms) samples (at most kMaxOutputSamples, logging
// a WARNING beyond), renders the timeline into it, saves it when a sound file
// was asked for, and plays it unless the file request was silent.  A count of
// 0 or less does nothing at all; a failed allocation logs an ERROR and leaves
// wav_image null.
void render_and_play(std::int64_t duration_ms);

// Stops playback, then frees the WAV image (unload).
void release_wav_image();

}  // namespace vokari
