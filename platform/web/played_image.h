// The browser build's sound player keeps the last image the module asked it to
// play instead of playing it: the page takes the bytes and plays them through
// the browser's own audio, outside the module.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vokari {
namespace platform {

// The WAV image of the last play request since the last purge or
// forget_played_image(); null (and size 0) when there is none.
const std::uint8_t* played_image();
std::size_t played_image_size();

// Drops the kept image, so that a request that plays nothing leaves nothing.
void forget_played_image();

}  // namespace platform
}  // namespace vokari
