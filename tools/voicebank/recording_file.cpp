// Recordings written through libsndfile, as float samples by default: the
// recorders' resampled output needs no second rounding before the builder's
// own mu-law encoding.
#include "recording_file.h"

#include <sndfile.h>

namespace vokari {
namespace voicebank {

bool write_recording(const std::string& path, const std::vector<float>& samples, int rate, bool pcm16) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | (pcm16 ? SF_FORMAT_PCM_16 : SF_FORMAT_FLOAT);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    // No wrapping by libsndfile's own scaling: full scale stays full scale.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t count = static_cast<sf_count_t>(samples.size());
    const bool ok = sf_writef_float(file, samples.data(), count) == count;
    sf_close(file);
    return ok;
}

}  // namespace voicebank
}  // namespace vokari
