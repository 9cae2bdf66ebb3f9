# The engine that evaluates the trained voice's duration and pitch models:
# the model-set and parameter-generation files of Debian's htsengine source
# package (fetched beside open-jtalk by scripts/fetch-frontend-source.sh),
# compiled here as one static library for whatever tool chain the build uses,
# so that every build computes the same bytes.  Neither the vocoder nor the
# audio output is compiled: the module takes only timing and melody from it.
#
# Its error function is rerouted at configure time (one patched copy of
# HTS_misc.c in the build tree): the library prints to stderr and ends the
# process on an error; here an error throws into the module instead
# (vokari_hts_error in reading/prosody_model.cpp), and a failed allocation
# is reported before the memory is touched.  HTS_ftell reads glibc's private
# fpos_t member, which emscripten lacks: ftell does the same on every system.
#
# Defines the static library vokari_prosody_engine.
set(VOKARI_HTS_SOURCE "${VOKARI_FRONTEND_CACHE}/hts_engine")

file(READ "${VOKARI_HTS_SOURCE}/lib/HTS_misc.c" hts_misc)
# Replaces `from` by `to` in hts_misc; a source without `from` stops the build.
function(vokari_patch_hts_misc from to)
  string(FIND "${hts_misc}" "${from}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "HTS_misc.c of ${VOKARI_HTS_SOURCE} differs from the one the build patches:\n${from}")
  endif()
  string(REPLACE "${from}" "${to}" patched "${hts_misc}")
  set(hts_misc "${patched}" PARENT_SCOPE)
endfunction()
vokari_patch_hts_misc([=[      fpos_t pos;
      fgetpos((FILE *) fp->pointer, &pos);
#if defined(_WIN32) || defined(__CYGWIN__) || defined(__APPLE__) || defined(__ANDROID__)
      return (size_t) pos;
#else
      return (size_t) pos.__pos;
#endif                          /* _WIN32 || __CYGWIN__ || __APPLE__ || __ANDROID__ */]=]
  [=[      return (size_t) ftell((FILE *) fp->pointer);]=])
vokari_patch_hts_misc([=[   memset(mem, 0, n);

   if (mem == NULL)
      HTS_error(1, "HTS_calloc: Cannot allocate memory.\n");]=]
  [=[   if (mem == NULL)
      HTS_error(1, "HTS_calloc: Cannot allocate memory.\n");
   memset(mem, 0, n);]=])
vokari_patch_hts_misc([=[void HTS_error(int error, const char *message, ...)
{]=]
  [=[void vokari_hts_error(int error);
void HTS_error(int error, const char *message, ...)
{
   vokari_hts_error(error);
   return;]=])
set(hts_misc_patched "${CMAKE_BINARY_DIR}/prosody-engine/HTS_misc.c")
file(WRITE "${hts_misc_patched}.new" "${hts_misc}")
file(COPY_FILE "${hts_misc_patched}.new" "${hts_misc_patched}" ONLY_IF_DIFFERENT)

add_library(vokari_prosody_engine STATIC "${hts_misc_patched}"
  "${VOKARI_HTS_SOURCE}/lib/HTS_model.c" "${VOKARI_HTS_SOURCE}/lib/HTS_sstream.c"
  "${VOKARI_HTS_SOURCE}/lib/HTS_pstream.c" "${VOKARI_HTS_SOURCE}/lib/HTS_label.c")
target_include_directories(vokari_prosody_engine SYSTEM PUBLIC
  "${VOKARI_HTS_SOURCE}/include" "${VOKARI_HTS_SOURCE}/lib")
# An error thrown by the module's handler unwinds through the library's
# frames: they need unwind tables (the browser's wasm exceptions need none).
target_compile_options(vokari_prosody_engine PRIVATE -w)
if(NOT VOKARI_PLATFORM_BACKEND STREQUAL "web")
  target_compile_options(vokari_prosody_engine PRIVATE -fexceptions)
endif()
set_target_properties(vokari_prosody_engine PROPERTIES C_VISIBILITY_PRESET hidden)
if(NOT VOKARI_PLATFORM_BACKEND STREQUAL "web")
  set_target_properties(vokari_prosody_engine PROPERTIES POSITION_INDEPENDENT_CODE ON)
endif()
