// The module's one WAV image: sized and allocated for each request's speech,
// rendered, optionally saved, and played asynchronously from memory.  Every
// path that frees or replaces the image stops playback first.
#include "synth/sound_file.h"
#include "synth/wav_image.h"

#include <algorithm>
#include <climits>

#include "voice_data/request_log.h"
#include "platform/platform.h"
#include "synth/renderer.h"
#include "synth/sound_file.h"
#include "translate/timeline.h"

namespace vokari {

namespace {

// "WARNING : <the work memory asked for exceeds the system limit; limiting it>"
const char kSizeLimitedWarning[] =
    "WARNING : \x83V\x83X\x83" "e\x83\x80\x83\x8A\x83~\x83" "b\x83g\x92l\x82\xF0\x89z\x82\xA6\x82\xE9"
    "\x83T\x83" "C\x83Y\x82\xCC\x83\x8F\x81[\x83N\x83\x81\x83\x82\x83\x8A\x82\xF0\x8Am\x95\xDB\x82\xB5"
    "\x82\xE6\x82\xA4\x82\xC6\x82\xB5\x82\xDC\x82\xB5\x82\xBD. \x90\xA7\x8C\xC0\x82\xB5\x82\xDC\x82\xB7.\n\n";
// "ERROR : <allocating the work memory failed; cannot speak>"
const char kAllocationFailedError[] =
    "ERROR : \x83\x8F\x81[\x83N\x83\x81\x83\x82\x83\x8A\x82\xCC\x8Am\x95\xDB\x82\xC9\x8E\xB8\x94s\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD. \x94\xAD\x90\xBA\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1.\n\n";

void free_image(WavImage& image) {
    platform::global_free(image.bytes);
    image.bytes = nullptr;
    image.samples = 0;
}

}  // namespace

std::int64_t output_sample_count(std::int64_t duration_ms) {
    const std::int64_t ms = std::clamp<std::int64_t>(duration_ms, INT32_MIN, INT32_MAX);
    return ms * 22050 / 1000 + kLeadInSamples;
}

void render_and_play(LoadedVoice& voice, WavImage& image, const Timeline& timeline,
                     const SoundFileRequest& sound_file, std::int64_t duration_ms) {
    std::int64_t samples = output_sample_count(duration_ms);
    if (samples <= 0) return;
    if (samples > kMaxOutputSamples) {
        log_write(voice.settings, kSizeLimitedWarning);
        samples = kMaxOutputSamples;
    }
    const platform::Player* player = platform::current_player();
    player->purge();
    free_image(image);
    const std::size_t bytes = static_cast<std::size_t>(kWavHeaderSize + samples);
    image.bytes = static_cast<std::uint8_t*>(platform::global_alloc(bytes));
    if (image.bytes == nullptr) {
        log_write(voice.settings, kAllocationFailedError);
        return;
    }
    image.samples = static_cast<std::int32_t>(samples);
    write_wav_header(image.bytes, image.samples);
    render_timeline(voice, timeline, image.bytes + kWavHeaderSize, image.samples);
    const bool written = write_sound_file(voice, image, sound_file);
    if (!written || sound_file.silent == 0) player->play_memory(image.bytes, bytes);
}

void release_wav_image(WavImage& image) {
    platform::current_player()->purge();
    free_image(image);
}

WavImage::~WavImage() {
    if (bytes != nullptr) release_wav_image(*this);
}

}  // namespace vokari
