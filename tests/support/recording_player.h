// A Player for tests that plays nothing and records every call: what was
// played (pointer and a copy of the bytes) and, at every call, where the
// module's WAV image stood, so that tests can check that playback is always
// stopped before the image it reads is freed or replaced.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth/wav_image.h"

namespace recording {

struct PlayerCall {
    enum Kind { Play, Purge } kind;
    const std::uint8_t* image;         // Play: the block handed to the player
    std::vector<std::uint8_t> bytes;   // Play: its bytes at the time of the call
    const std::uint8_t* module_image;  // the watched module image when the call was made
    // Purge: the image last played (and not yet purged) was still the module's
    // image and still held the bytes it was played with.
    bool played_image_intact;
};

// Installs itself as the module's player for its lifetime; restores the
// default player when destroyed.  One at a time.
class RecordingPlayer {
public:
    RecordingPlayer();
    ~RecordingPlayer();
    RecordingPlayer(const RecordingPlayer&) = delete;
    RecordingPlayer& operator=(const RecordingPlayer&) = delete;

    // Checks the calls against the life of `image` (null: none).
    void watch(const vokari::WavImage* image);
    const std::vector<PlayerCall>& calls() const;
    void clear();
    // "purge", "play" in call order, e.g. {"purge", "play"}.
    std::vector<std::string> kinds() const;
};

}  // namespace recording
