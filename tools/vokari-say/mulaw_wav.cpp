// RIFF chunk walking and mu-law decoding.
#include "tools/vokari-say/mulaw_wav.h"

#include <algorithm>

#include "base/mulaw.h"

#include "tools/vokari-say/script_input.h"

namespace vokari {
namespace say {
namespace {

unsigned read_le(const std::string& bytes, size_t at, int width) {
    unsigned value = 0;
    for (int k = width - 1; k >= 0; --k) value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

MuLawWav failure(const std::string& path, const std::string& why) {
    MuLawWav wav;
    wav.error = path + ": " + why;
    return wav;
}

}  // namespace

MuLawWav read_mulaw_wav(const std::string& path) {
    const ReadResult file = read_input(path);
    if (!file.ok) return failure(path, file.error);
    const std::string& bytes = file.bytes;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return failure(path, "not a WAV file");

    MuLawWav wav;
    bool format_seen = false;
    for (size_t chunk = 12; chunk + 8 <= bytes.size();) {
        const std::string id = bytes.substr(chunk, 4);
        const size_t size = read_le(bytes, chunk + 4, 4);
        const size_t body = chunk + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            if (read_le(bytes, body, 2) != 7 || read_le(bytes, body + 2, 2) != 1 || read_le(bytes, body + 14, 2) != 8)
                return failure(path, "not 8-bit mono mu-law");
            wav.sample_rate = static_cast<int>(read_le(bytes, body + 4, 4));
            format_seen = true;
        } else if (id == "data") {
            if (!format_seen || wav.sample_rate <= 0) return failure(path, "data before a usable format chunk");
            const size_t end = std::min(bytes.size(), body + size);
            wav.samples.reserve(end - body);
            for (size_t i = body; i < end; ++i)
                wav.samples.push_back(vokari::mulaw_decode_table[static_cast<unsigned char>(bytes[i])]);
            wav.ok = true;
            return wav;
        }
        chunk = body + size + (size & 1);
    }
    return failure(path, "no sample data");
}

int duration_ms(const MuLawWav& wav) {
    if (!wav.ok || wav.sample_rate <= 0) return 0;
    return static_cast<int>(static_cast<long long>(wav.samples.size()) * 1000 / wav.sample_rate);
}

}  // namespace say
}  // namespace vokari
