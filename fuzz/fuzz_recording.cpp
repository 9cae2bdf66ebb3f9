// The builder's recording reader on any file content: whatever libsndfile
// accepts as a sound file is decoded, mixed to mono and resampled to the
// bank's rate.  Checks that a reading succeeds or fails with a message, and
// that what it returns is as long as the file says and holds numbers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/voicebank/audio_input.h"
#include "support/fuzz_check.h"

using fuzz_support::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const vokari::voicebank::AudioReadResult read = vokari::voicebank::read_recording_bytes(bytes);
    if (!read.error.empty()) {
        require(read.samples.empty() || read.error == "resampling failed", "samples from a failed reading");
        return 0;
    }
    require(read.seconds >= 0.0, "negative length");
    // Resampling may add or drop a few samples at the ends.
    const double expected = read.seconds * vokari::voicebank::kBankRate;
    require(std::fabs(static_cast<double>(read.samples.size()) - expected) <= 64.0 + expected * 0.001,
            "resampled length differs from the file's");
    for (const float sample : read.samples) require(std::isfinite(sample), "a sample that is not a number");
    return 0;
}
