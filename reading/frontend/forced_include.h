// Forced into every file of the analyser library (cmake/reading-frontend.cmake).
#pragma once
#include <stdio.h>

// Its warnings on stderr ("Wrong character" and the like) would land in the
// host's console: they go nowhere.  The module logs what matters itself.
#define fprintf(stream, ...) ((void)(stream), 0)

// Its MeCab copy under names of its own, so that a program that also links
// the system's libmecab (the reading-dictionary builder and its tests) gets
// no clash: the C++ namespace and the two error functions it shares with its
// C interface, which is left out.
#define MeCab VokariMeCab
#define getGlobalError vokari_frontend_get_global_error
#define setGlobalError vokari_frontend_set_global_error
