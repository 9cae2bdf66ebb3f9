// Temporary placeholder player so that the tree links while the audio
// backends are being written.  Delete this file when they land.
#include "platform/platform.h"

namespace vokari {
namespace platform {
static void play_nothing(const std::uint8_t*, std::size_t) {}
static void purge_nothing() {}
static const Player kNull = {"null", play_nothing, purge_nothing};
static const Player* g_player = &kNull;
const Player* current_player() { return g_player; }
void set_player(const Player* p) { g_player = p ? p : &kNull; }
const Player* null_player() { return &kNull; }
}  // namespace platform
}  // namespace vokari
