// The player table: the module plays and stops its sound through whichever
// Player is installed; by default the system's own, chosen at first use.
#include "platform/player_backends.h"

namespace vokari {
namespace platform {
namespace {

void play_nothing(const std::uint8_t*, std::size_t) {}
void purge_nothing() {}

const Player kNullPlayer = {"null", play_nothing, purge_nothing};

const Player* installed_player = nullptr;

}  // namespace

const Player* current_player() {
    if (installed_player == nullptr) {
        const Player* system = system_player();
        installed_player = system != nullptr ? system : &kNullPlayer;
    }
    return installed_player;
}

void set_player(const Player* player) { installed_player = player; }

const Player* null_player() { return &kNullPlayer; }

}  // namespace platform
}  // namespace vokari
