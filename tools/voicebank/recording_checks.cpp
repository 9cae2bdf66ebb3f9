// Both checks run on samples in memory, so that they work on any source.
#include "recording_checks.h"

#include <cmath>

namespace vokari {
namespace voicebank {

std::string unmeasurable_samples(const float* samples, std::size_t count) {
    constexpr float kMaxSampleMagnitude = 1000.0f;
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::isfinite(samples[i]) || std::fabs(samples[i]) > kMaxSampleMagnitude)
            return "holds samples that are not numbers or lie far beyond full scale";
    }
    return {};
}

bool is_clipped(const float* frames, std::size_t frame_count, int channels) {
    for (int c = 0; c < channels; ++c) {
        int run = 0;
        float previous = 0.0f;
        for (std::size_t i = 0; i < frame_count; ++i) {
            const float v = frames[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
            if (std::fabs(v) > 1.0f) return true;
            if (std::fabs(v) >= kFullScaleSample) {
                run = (run > 0 && v == previous) ? run + 1 : 1;
                if (run >= kClippedRun) return true;
            } else {
                run = 0;
            }
            previous = v;
        }
    }
    return false;
}

bool is_nearly_silent(const std::vector<float>& x) {
    constexpr std::size_t kBlock = 220;  // 10 ms at 22050 Hz
    const double floor_power = kNearSilentRms * kNearSilentRms;
    for (std::size_t at = 0; at < x.size(); at += kBlock) {
        const std::size_t end = at + kBlock < x.size() ? at + kBlock : x.size();
        double sum = 0.0;
        for (std::size_t i = at; i < end; ++i) sum += static_cast<double>(x[i]) * x[i];
        if (sum / static_cast<double>(kBlock) >= floor_power) return false;
    }
    return true;
}

}  // namespace voicebank
}  // namespace vokari
