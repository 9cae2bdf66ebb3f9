// The public header for programs that write voices: what a voice folder's
// sample files are.  Each slot of each speaker is a WAV file (58-byte header,
// then 8-bit mu-law mono at 22050 Hz) named after its slot number.
#pragma once

#include "host/base/mulaw.h"
#include "host/base/wav_format.h"
#include "voice_data/phoneme_slots.h"
