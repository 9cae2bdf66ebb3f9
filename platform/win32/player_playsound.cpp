// Playback on Windows: PlaySoundA of the multimedia library, asynchronously
// from memory, and its purge.
#include <windows.h>
#include <mmsystem.h>

#include "platform/player_backends.h"

namespace vokari {
namespace platform {
namespace {

constexpr DWORD kPlayFromMemoryAsync = 0x2007;  // SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_NOWAIT
constexpr DWORD kPurge = 0x0040;                // SND_PURGE

// The system's playback thread runs inside the multimedia library and can
// still be winding down after a purge.  A host that releases this module
// would unload that library with it when nothing else holds it, and the
// thread would crash the host; so the library stays loaded for the life of
// the process from the first sound on.
void keep_multimedia_library_loaded() {
    static const bool pinned = [] {
        HMODULE library = nullptr;
        return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, "winmm.dll", &library) != 0;
    }();
    (void)pinned;
}

void play_memory(const std::uint8_t* image, std::size_t) {
    keep_multimedia_library_loaded();
    PlaySoundA(reinterpret_cast<LPCSTR>(image), nullptr, kPlayFromMemoryAsync);
}

void purge() { PlaySoundA(nullptr, nullptr, kPurge); }

const Player kPlaySoundPlayer = {"PlaySoundA", play_memory, purge};

}  // namespace

const Player* system_player() { return &kPlaySoundPlayer; }

}  // namespace platform
}  // namespace vokari
