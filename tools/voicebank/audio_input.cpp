// Decoding and resampling of the builder's input recordings.
#include "audio_input.h"

#include <cstring>

#include <samplerate.h>
#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "list_chunk_check.h"
#include "recording_checks.h"

namespace vokari {
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

namespace {

// The most bytes kMaxRecordingSamples take in the widest sample format
// (64-bit float), with room for the header and metadata chunks.
constexpr long long kMaxRecordingBytes = kMaxRecordingSamples * 8 + (1 << 20);

constexpr const char* kNotASoundFile = "is not a sound file that can be read (WAV, FLAC, OGG or AIFF)";

// A file's bytes held in memory, read through libsndfile's virtual I/O.
struct MemoryFile {
    const std::string& bytes;
    sf_count_t position = 0;
};

sf_count_t memory_length(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }

// Seeks as on a file: past the end is allowed and reads there give nothing.
// libsndfile skips a data chunk by seeking over the length it claims; were
// that refused, it would go on to parse the samples as chunks, which a file
// on disk never makes it do.
sf_count_t memory_seek(sf_count_t offset, int whence, void* user) {
    MemoryFile& file = *static_cast<MemoryFile*>(user);
    const sf_count_t size = static_cast<sf_count_t>(file.bytes.size());
    const sf_count_t base = whence == SEEK_CUR ? file.position : whence == SEEK_END ? size : 0;
    if (offset < -base) return -1;
    file.position = base + offset;
    return file.position;
}

sf_count_t memory_read(void* out, sf_count_t count, void* user) {
    MemoryFile& file = *static_cast<MemoryFile*>(user);
    const sf_count_t left = static_cast<sf_count_t>(file.bytes.size()) - file.position;
    if (count > left) count = left;
    if (count <= 0) return 0;
    std::memcpy(out, file.bytes.data() + file.position, static_cast<std::size_t>(count));
    file.position += count;
    return count;
}

sf_count_t memory_write(const void*, sf_count_t, void*) { return 0; }

sf_count_t memory_tell(void* user) { return static_cast<MemoryFile*>(user)->position; }

// Decodes the opened `file` (closed here) into `result`.
AudioReadResult decode(SNDFILE* file, const SF_INFO& info, int rate) {
    AudioReadResult result;
    // A corrupt header may claim a rate or a length that no recording has;
    // refused before buffers for them are asked for.
    if (info.channels <= 0 || info.samplerate < kMinRecordingRate || info.samplerate > kMaxRecordingRate) {
        sf_close(file);
        result.error = "unusable sample rate or channel count (" + std::to_string(info.samplerate) + " Hz, " +
                       std::to_string(info.channels) + " channels)";
        return result;
    }
    if (info.frames < 0 || info.frames > kMaxRecordingSamples / info.channels) {
        sf_close(file);
        result.error = "too long for a recording of syllables";
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
    result.error = unmeasurable_samples(frames.data(), frames.size());
    if (!result.error.empty()) return result;
    result.clipped = is_clipped(frames.data(), static_cast<std::size_t>(info.frames), info.channels);
    result.seconds = static_cast<double>(info.frames) / info.samplerate;
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

}  // namespace

AudioReadResult read_recording(const std::string& path, int rate) {
    // The file is read whole and decoded from memory, so that a file and the
    // same bytes from elsewhere go through one reader and its checks.
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        AudioReadResult result;
        result.error = "cannot be opened (" + std::error_code(errno, std::generic_category()).message() + ")";
        return result;
    }
    std::string bytes;
    char block[65536];
    bool too_long = false;
    for (std::size_t got; !too_long && (got = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.append(block, got);
        too_long = static_cast<long long>(bytes.size()) > kMaxRecordingBytes;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || too_long) {
        AudioReadResult result;
        result.error = too_long ? "too long for a recording of syllables" : "cannot be read to its end";
        return result;
    }
    return read_recording_bytes(bytes, rate);
}

AudioReadResult read_recording_bytes(const std::string& bytes, int rate) {
    if (has_looping_list_chunk(bytes)) {
        AudioReadResult result;
        result.error = "has a damaged LIST chunk (an entry longer than the file)";
        return result;
    }
    SF_VIRTUAL_IO io{memory_length, memory_seek, memory_read, memory_write, memory_tell};
    MemoryFile memory{bytes};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (file == nullptr) {
        AudioReadResult result;
        result.error = kNotASoundFile;
        return result;
    }
    return decode(file, info, rate);
}

}  // namespace voicebank
}  // namespace vokari
