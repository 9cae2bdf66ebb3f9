// vokari.h: the speech module's whole interface to its host.
//
// The host loads the module (vokari.dll, a 32-bit Windows DLL, or the native
// libvokari.so), calls `load` once with the module's folder, sends requests
// with `request`, and calls `unload` before it lets the library go.  Texts are
// Shift_JIS bytes throughout; requests and responses are the host protocol's
// header lines ending in an empty line (see docs/guide.md).
//
// Memory.  Every block that crosses the interface is a fixed global memory
// block (GlobalAlloc(GMEM_FIXED); on other systems the module's own
// allocator, released by the same module).  A block handed to the module
// belongs to it from the call on: the module frees it, also when the call
// fails.  A block the module returns belongs to the host, which frees it with
// GlobalFree.  Lengths are exact byte counts; no text carries a terminator.
//
//   BOOL load(HGLOBAL h, long len)
//       h: the module's folder (len bytes).  Frees h; reads the settings,
//       dictionaries, voice and sound effects from the folder and opens the
//       request log.  A folder that cannot be read, or a path over 1,024
//       bytes (then nothing is read), leaves the module on its defaults.
//       Always returns 1.  Loading again without `unload` starts a
//       new module life; the sound that is playing goes on.
//
//   HGLOBAL request(HGLOBAL h, long* len)
//       h: the request (*len bytes, read up to its first NUL).  Frees h;
//       returns a new block with the response and sets *len to its length.
//       A request for speech renders the script, starts playing it and
//       returns at once with the script and its wait tags; the sound plays on
//       in the background.  A request that cannot be handled (no memory, a
//       negative length) gets a "500 Internal Server Error" response; a null
//       `len` frees h and returns null.
//
//   BOOL unload(void)
//       Writes the log's last line, stops playback and frees everything
//       `load` allocated.  Always returns 1.
//
// Threads.  The module keeps one module object: call the three functions
// from one thread, or never two at once.  Playback runs on the system's own
// audio thread, which reads only the rendered sound; the next request or
// `unload` stops it before the sound is replaced or freed.
#pragma once

#ifdef _WIN32
#include <windows.h>
#define VOKARI_EXPORT extern "C" __declspec(dllexport)
#define VOKARI_CALL __cdecl
#else
typedef void* HGLOBAL;
typedef int BOOL;
#define VOKARI_EXPORT extern "C" __attribute__((visibility("default")))
#define VOKARI_CALL
#endif

VOKARI_EXPORT BOOL VOKARI_CALL load(HGLOBAL h, long len);
VOKARI_EXPORT HGLOBAL VOKARI_CALL request(HGLOBAL h, long* len);
VOKARI_EXPORT BOOL VOKARI_CALL unload(void);
