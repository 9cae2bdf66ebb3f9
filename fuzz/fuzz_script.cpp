// One script through the voice path without the request around it: its
// speech plan and the rendering into the WAV image, against the fixture
// voice.  Sound-file wishes are dropped (the request harness covers
// them).  The reply must carry no leftover wait placeholder, and the image
// must hold exactly the samples its header announces.
#include <cstdint>
#include <string>

#include "support/fuzz_voice.h"
#include "synth/wav_image.h"

namespace {

const std::string kWaitPlaceholder("\x01\x5c\x01\x5f\x01\x57\x01", 7);

std::uint32_t read_le32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void check_image(const vokari::WavImage& image, std::int64_t total_ms) {
    std::int64_t expected = vokari::output_sample_count(total_ms);
    if (expected > vokari::kMaxOutputSamples) expected = vokari::kMaxOutputSamples;
    fuzz_support::require(image.bytes != nullptr, "a WAV image for a speech with samples");
    fuzz_support::require(image.samples == expected, "the image's sample count");
    fuzz_support::require(read_le32(image.bytes + 4) == static_cast<std::uint32_t>(expected + 50) &&
                              read_le32(image.bytes + 46) == static_cast<std::uint32_t>(expected) &&
                              read_le32(image.bytes + 54) == static_cast<std::uint32_t>(expected),
                          "the header's sizes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz_support::FuzzVoice voice("fuzz-script");
    vokari::Module& module = voice.module();
    const std::string script(reinterpret_cast<const char*>(data), size);
    vokari::Timeline timeline;
    const vokari::SpeechPlan plan = vokari::plan_speech(vokari::speech_sources(module), script, timeline);
    const std::int64_t total_ms = plan.scan.total_ms;
    fuzz_support::require(plan.reply.find(kWaitPlaceholder) == std::string::npos, "no wait placeholder in the reply");
    if (total_ms != 0 && vokari::output_sample_count(total_ms) > 0) {
        vokari::render_and_play(module.voice, module.image, timeline, vokari::SoundFileRequest(), total_ms);
        check_image(module.image, total_ms);
    }
    voice.tidy_after_request();
    return 0;
}
