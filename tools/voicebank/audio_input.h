// Reading recordings of any common format (through libsndfile) as mono
// floating-point samples at the bank's rate (resampled with libsamplerate).
#pragma once

#include <string>
#include <vector>

namespace vokari {
namespace voicebank {

constexpr int kBankRate = 22050;
// What a recording of speech can be: rates from telephone quality to studio
// quality, and at most 20 minutes of one channel at 192 kHz (or its samples
// spread over more channels), so that a corrupt header cannot make the
// builder ask for gigabytes.
constexpr int kMinRecordingRate = 4000;
constexpr int kMaxRecordingRate = 768000;
constexpr long long kMaxRecordingSamples = 20LL * 60 * 192000;

struct AudioReadResult {
    std::vector<float> samples;  // mono, full scale +-1.0, at the requested rate
    std::string error;           // empty on success; else what is wrong, to follow the file name
    bool clipped = false;        // the file as recorded clips (see recording_checks.h)
    double seconds = 0.0;        // length of the file
};

// Reads the file at `path` (16/24/32-bit PCM, float, mono or multi-channel,
// any rate), averages the channels and resamples to `rate` Hz.
AudioReadResult read_recording(const std::string& path, int rate = kBankRate);
// The same for a file's bytes held in memory.
AudioReadResult read_recording_bytes(const std::string& bytes, int rate = kBankRate);

// Resamples mono `samples` from `from_rate` to `to_rate` Hz; the input is
// returned unchanged when the rates are equal.  Empty on failure.
std::vector<float> resample(const std::vector<float>& samples, int from_rate, int to_rate);

}  // namespace voicebank
}  // namespace vokari
