#include "support/recording_player.h"

#include <cstring>

#include "platform/platform.h"
#include "synth/wav_image.h"

namespace recording {
namespace {

std::vector<PlayerCall> recorded;
// The last image played and not yet purged, with its bytes.
const std::uint8_t* sounding_image = nullptr;
// The module image whose life the calls are checked against, if any.
const vokari::WavImage* watched_image = nullptr;

const std::uint8_t* module_image() { return watched_image != nullptr ? watched_image->bytes : nullptr; }
std::vector<std::uint8_t> sounding_bytes;

void record_play(const std::uint8_t* image, std::size_t bytes) {
    PlayerCall call{PlayerCall::Play, image, std::vector<std::uint8_t>(image, image + bytes), module_image(), false};
    sounding_image = image;
    sounding_bytes = call.bytes;
    recorded.push_back(std::move(call));
}

void record_purge() {
    bool intact = true;
    if (sounding_image != nullptr) {
        // Only the module's live image may be read: anything else has already
        // been freed or replaced, which is the fault being looked for.
        intact = module_image() == sounding_image &&
                 std::memcmp(sounding_image, sounding_bytes.data(), sounding_bytes.size()) == 0;
    }
    recorded.push_back({PlayerCall::Purge, nullptr, {}, module_image(), intact});
    sounding_image = nullptr;
    sounding_bytes.clear();
}

const vokari::platform::Player kRecordingPlayer = {"recording", record_play, record_purge};

}  // namespace

RecordingPlayer::RecordingPlayer() {
    clear();
    vokari::platform::set_player(&kRecordingPlayer);
}

RecordingPlayer::~RecordingPlayer() {
    vokari::platform::set_player(nullptr);
    watched_image = nullptr;
    clear();
}

void RecordingPlayer::watch(const vokari::WavImage* image) { watched_image = image; }

const std::vector<PlayerCall>& RecordingPlayer::calls() const { return recorded; }

void RecordingPlayer::clear() {
    recorded.clear();
    sounding_image = nullptr;
    sounding_bytes.clear();
}

std::vector<std::string> RecordingPlayer::kinds() const {
    std::vector<std::string> names;
    for (const PlayerCall& call : recorded) names.push_back(call.kind == PlayerCall::Play ? "play" : "purge");
    return names;
}

}  // namespace recording
