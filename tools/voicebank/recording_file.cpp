// Float samples: the recorders' resampled output needs no second rounding
// before the builder's own mu-law encoding.
#include "recording_file.h"

#include <sndfile.h>

namespace vokari {
namespace voicebank {

bool write_recording(const std::string& path, const std::vector<float>& samples, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    const sf_count_t count = static_cast<sf_count_t>(samples.size());
    const bool ok = sf_writef_float(file, samples.data(), count) == count;
    sf_close(file);
    return ok;
}

}  // namespace voicebank
}  // namespace vokari
