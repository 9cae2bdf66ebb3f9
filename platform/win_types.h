// The handful of Windows types that appear in the module's exported interface.
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
