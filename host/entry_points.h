// The three functions the host application calls, and the module directory
// they establish.
//
//   load(h, len)   h: GMEM_FIXED block with the module directory (not
//                  NUL-terminated), len: its length in bytes.  Frees h, loads
//                  settings, dictionaries and voices.  Always returns 1.
//   request(h, len) h: block with the request text, *len: its length in bytes.
//                  Frees h; returns a new GMEM_FIXED block with the response,
//                  *len set to its exact length (no terminator).
//   unload()       Stops playback and frees what load allocated.  Returns 1.
#pragma once

#include "platform/win_types.h"

VOKARI_EXPORT BOOL VOKARI_CALL load(HGLOBAL h, long len);
VOKARI_EXPORT HGLOBAL VOKARI_CALL request(HGLOBAL h, long* len);
VOKARI_EXPORT BOOL VOKARI_CALL unload(void);
