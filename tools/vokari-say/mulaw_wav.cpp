// vokari-say's reading of a WAV file the module wrote: the file's bytes through
// the module's own chunk walk (base/mulaw_wav.h), decoded to linear values.
#include "tools/vokari-say/mulaw_wav.h"

#include "base/mulaw.h"
#include "base/mulaw_wav.h"
#include "tools/vokari-say/script_input.h"

namespace vokari {
namespace say {
namespace {

const char* problem_text(MulawWavProblem problem) {
    switch (problem) {
    case MulawWavProblem::not_wav: return "not a WAV file";
    case MulawWavProblem::not_mulaw: return "not 8-bit mono mu-law";
    case MulawWavProblem::no_usable_format: return "data before a usable format chunk";
    default: return "no sample data";
    }
}

}  // namespace

MuLawWav read_mulaw_wav(const std::string& path) {
    MuLawWav wav;
    const ReadResult file = read_input(path);
    MulawSamples found;
    const MulawWavProblem problem =
        file.ok ? find_mulaw_samples(reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size(), found)
                : MulawWavProblem::none;
    if (!file.ok || problem != MulawWavProblem::none) {
        wav.error = path + ": " + (file.ok ? problem_text(problem) : file.error);
        return wav;
    }
    wav.sample_rate = static_cast<int>(found.sample_rate);
    wav.samples.reserve(found.count);
    for (std::size_t i = 0; i < found.count; ++i) wav.samples.push_back(mulaw_decode_table[found.bytes[i]]);
    wav.ok = true;
    return wav;
}

int duration_ms(const MuLawWav& wav) {
    if (!wav.ok || wav.sample_rate <= 0) return 0;
    return static_cast<int>(static_cast<long long>(wav.samples.size()) * 1000 / wav.sample_rate);
}

}  // namespace say
}  // namespace vokari
