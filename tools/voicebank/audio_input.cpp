// Decoding and resampling of the builder's input recordings.
#include "audio_input.h"

#include <samplerate.h>
#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "recording_checks.h"

namespace voicebank {

std::vector<float> resample(const std::vector<float>& samples, int from_rate, int to_rate) {
    if (from_rate == to_rate || samples.empty()) return samples;
    const double ratio = static_cast<double>(to_rate) / from_rate;
    std::vector<float> out(static_cast<size_t>(samples.size() * ratio) + 16);
    SRC_DATA job{};
    job.data_in = samples.data();
    job.input_frames = static_cast<long>(samples.size());
    job.data_out = out.data();
    job.output_frames = static_cast<long>(out.size());
    job.src_ratio = ratio;
    if (src_simple(&job, SRC_SINC_BEST_QUALITY, 1) != 0) return {};
    out.resize(static_cast<size_t>(job.output_frames_gen));
    return out;
}

AudioReadResult read_recording(const std::string& path, int rate) {
    AudioReadResult result;
    SF_INFO info{};
    errno = 0;
    if (FILE* probe = std::fopen(path.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        result.error = "cannot be opened (" + std::error_code(errno, std::generic_category()).message() + ")";
        return result;
    }
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        result.error = "is not a sound file that can be read (WAV, FLAC, OGG or AIFF)";
        return result;
    }
    // Float reads of integer formats come scaled to +-1.0 by default.
    std::vector<float> frames(static_cast<size_t>(info.frames) * info.channels);
    const sf_count_t got = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    if (got != info.frames) {
        result.error = "ends before the length its header gives";
        return result;
    }
    result.clipped = is_clipped(frames.data(), static_cast<std::size_t>(info.frames), info.channels);
    result.seconds = info.samplerate > 0 ? static_cast<double>(info.frames) / info.samplerate : 0.0;
    std::vector<float> mono(static_cast<size_t>(info.frames));
    for (sf_count_t i = 0; i < info.frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < info.channels; ++c) sum += frames[static_cast<size_t>(i * info.channels + c)];
        mono[static_cast<size_t>(i)] = sum / static_cast<float>(info.channels);
    }
    result.samples = resample(mono, info.samplerate, rate);
    if (result.samples.empty() && !mono.empty()) result.error = "resampling failed";
    return result;
}

}  // namespace voicebank
