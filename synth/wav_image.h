// The output WAV image (58-byte header + 8-bit mu-law samples at 22050 Hz),
// the mu-law tables, rendering-and-playback of one request, and sound-file
// output.
#pragma once

#include <cstdint>
#include <string>

namespace vokari {

constexpr int kWavHeaderSize = 58;
constexpr std::int32_t kMaxOutputSamples = 1048576;
constexpr int kEncodeTableSize = 8159;

extern const std::int32_t mulaw_decode_table[256];
extern std::uint8_t mulaw_encode_table[kEncodeTableSize];

// Builds mulaw_encode_table (load_defaults).
void build_mulaw_encoder();
// Encodes an integer sum into one mu-law byte.
std::uint8_t encode_sample(std::int32_t sum);

// The module's one WAV image: null until the first render.
extern std::uint8_t* wav_image;
extern std::int32_t wav_image_samples;

// Per-request sound-file wish, set by "wavout[" / "wavouts[".
extern std::string wav_output_spec;
extern int wav_output_silent;

// Writes the 58-byte header for N samples at the start of `image`.
void write_wav_header(std::uint8_t* image, std::int32_t samples);

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

// Writes the image to the file named by wav_output_spec; true when a file was
// requested.
bool write_sound_file(std::int32_t samples);
void reload_sound_effect(const std::string& name, const char* path);

}  // namespace vokari
