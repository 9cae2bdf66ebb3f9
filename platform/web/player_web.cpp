// Playback in the browser build: the module runs in a worker that has no
// audio device, so "playing" a WAV image means keeping a copy of it for the
// page, and purging means dropping that copy.
#include <vector>

#include "platform/player_backends.h"
#include "platform/web/played_image.h"

namespace vokari {
namespace platform {
namespace {

std::vector<std::uint8_t> kept_image;

void keep_image(const std::uint8_t* image, std::size_t bytes) { kept_image.assign(image, image + bytes); }

void drop_image() { kept_image.clear(); }

const Player kKeepingPlayer = {"page", keep_image, drop_image};

}  // namespace

const Player* system_player() { return &kKeepingPlayer; }

const std::uint8_t* played_image() { return kept_image.empty() ? nullptr : kept_image.data(); }

std::size_t played_image_size() { return kept_image.size(); }

void forget_played_image() { drop_image(); }

}  // namespace platform
}  // namespace vokari
