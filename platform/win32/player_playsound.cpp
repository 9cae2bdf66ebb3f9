// Playback on Windows: PlaySoundA of the multimedia library, asynchronously
// from memory, and its purge.
#include <windows.h>
#include <mmsystem.h>

#include "platform/player_backends.h"

namespace vokari {
namespace platform {
namespace {

constexpr DWORD kPlayFromMemoryAsync = 0x2007;   // SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_NOWAIT
constexpr DWORD kPurge = 0x0040;                 // SND_PURGE

void play_memory(const std::uint8_t* image, std::size_t) {
    PlaySoundA(reinterpret_cast<LPCSTR>(image), nullptr, kPlayFromMemoryAsync);
}

void purge() { PlaySoundA(nullptr, nullptr, kPurge); }

const Player kPlaySoundPlayer = {"PlaySoundA", play_memory, purge};

}  // namespace

const Player* system_player() { return &kPlaySoundPlayer; }

}  // namespace platform
}  // namespace vokari
