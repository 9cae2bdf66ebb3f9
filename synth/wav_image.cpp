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

void render_and_play(LoadedVoice& voice, WavImage& image, const Timeline& timeline, const SoundFileRequest& sound_file,
                     std::int64_t duration_ms) {
    std::int64_t samples = output_sample_count(duration_ms);
    if (samples <= 0) return;
    if (samples > kMaxOutputSamples) {
        log_line(voice.settings, LogLine::SpeechCut);
        samples = kMaxOutputSamples;
    }
    const platform::Player* player = platform::current_player();
    player->purge();
    free_image(image);
    const std::size_t bytes = static_cast<std::size_t>(kWavHeaderSize + samples);
    image.bytes = static_cast<std::uint8_t*>(platform::global_alloc(bytes));
    if (image.bytes == nullptr) {
        log_line(voice.settings, LogLine::NoWorkMemory);
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
