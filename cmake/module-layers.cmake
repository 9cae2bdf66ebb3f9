# The module's layers, defined once for every build: the native library and
# the DLL (top CMakeLists.txt), the fuzzers, and the WebAssembly page (web/).
# A build chooses only its platform backend before including this file:
#
#   set(VOKARI_PLATFORM_BACKEND posix)   # posix, win32 or web
#   include(<source tree>/cmake/module-layers.cmake)
#
# The module is built in layers, bottom to top; each layer is a library that
# links only the layers below it, and no file includes a header of a layer
# above its own (checked here at configure time and by the test layer_includes):
#
#   base/        text and Shift_JIS routines, the script's syntax, decimal
#                parsing, mu-law, the WAV header, module paths: the standard
#                library only
#   platform/    the operating system: memory blocks, clock, files, player
#   voice_data/  settings, request log, phoneme bank, details, sound effects
#   reading/     the in-context reading step: the analyser (MeCab and the
#                open-jtalk text libraries, cmake/reading-frontend.cmake),
#                the kana it says, and the trained voice's prosody model (the
#                HTS engine's model set, cmake/prosody-engine.cmake)
#   translate/   the speech plan of a script: translation, the reading between
#                tags, the scanner, the timeline, wait tags
#   synth/       rendering, the WAV image, sound-file output
#   host/        the three exported functions and the request protocol
#
# Defines the static libraries vokari_base, vokari_platform, vokari_voice_data,
# vokari_reading (with vokari_reading_frontend under it), vokari_translate and
# vokari_synth, the object library vokari_host (the top
# layer, linked into whatever carries the exports), and the source lists
# VOKARI_MODULE_SOURCES (every layer but the platform), VOKARI_PLATFORM_SOURCES
# (the backend's) and VOKARI_PLATFORM_COMMON for builds that compile their own
# copy.  The public headers in include/ (the exports, the voice format) stand
# outside the layers: every layer and every tool may include them.
get_filename_component(VOKARI_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

if(NOT VOKARI_PLATFORM_BACKEND)
  message(FATAL_ERROR "set VOKARI_PLATFORM_BACKEND (posix, win32 or web) before including module-layers.cmake")
endif()

set(VOKARI_LAYER_DIRECTORIES base platform voice_data reading translate synth host)
include(${CMAKE_CURRENT_LIST_DIR}/check-layers.cmake)
vokari_check_layers(${VOKARI_ROOT} VOKARI_LAYER_ERRORS)
if(VOKARI_LAYER_ERRORS)
  message(FATAL_ERROR "Upward includes between the module's layers:\n${VOKARI_LAYER_ERRORS}")
endif()

file(GLOB VOKARI_BASE_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/base/*.cpp)
file(GLOB VOKARI_VOICE_DATA_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/voice_data/*.cpp)
file(GLOB VOKARI_READING_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/reading/*.cpp)
file(GLOB VOKARI_TRANSLATE_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/translate/*.cpp)
file(GLOB VOKARI_SYNTH_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/synth/*.cpp)
file(GLOB VOKARI_HOST_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/host/*.cpp)
file(GLOB VOKARI_PLATFORM_COMMON CONFIGURE_DEPENDS ${VOKARI_ROOT}/platform/*.cpp)

# The platform backend.  The browser shares the POSIX files and clock (the
# emscripten runtime provides them) but has no sound device: its player keeps
# the image for the page instead of the PortAudio player.
if(VOKARI_PLATFORM_BACKEND STREQUAL "posix")
  file(GLOB VOKARI_PLATFORM_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/platform/posix/*.cpp)
elseif(VOKARI_PLATFORM_BACKEND STREQUAL "win32")
  file(GLOB VOKARI_PLATFORM_SOURCES CONFIGURE_DEPENDS ${VOKARI_ROOT}/platform/win32/*.cpp)
elseif(VOKARI_PLATFORM_BACKEND STREQUAL "web")
  file(GLOB VOKARI_PLATFORM_SOURCES CONFIGURE_DEPENDS
       ${VOKARI_ROOT}/platform/posix/*.cpp ${VOKARI_ROOT}/platform/web/*.cpp)
  list(FILTER VOKARI_PLATFORM_SOURCES EXCLUDE REGEX "/platform/posix/player_[^/]*\\.cpp$")
  # The page shows the timeline itself (web/src/pitch_line_calls.cpp).
  list(FILTER VOKARI_HOST_SOURCES EXCLUDE REGEX "/host/front_end_hook\\.cpp$")
else()
  message(FATAL_ERROR "unknown platform backend '${VOKARI_PLATFORM_BACKEND}' (posix, win32 or web)")
endif()

set(VOKARI_MODULE_SOURCES ${VOKARI_BASE_SOURCES} ${VOKARI_VOICE_DATA_SOURCES} ${VOKARI_READING_SOURCES} ${VOKARI_TRANSLATE_SOURCES}
    ${VOKARI_SYNTH_SOURCES} ${VOKARI_HOST_SOURCES})

# Hidden symbols everywhere: only the entry points are exported, and native
# layers are position-independent because they end up in a shared library.
function(vokari_layer_properties name)
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(NOT VOKARI_PLATFORM_BACKEND STREQUAL "web")
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  endif()
endfunction()

# One layer: a static library that links the layers below it.
function(vokari_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;BELOW" ${ARGN})
  add_library(${name} STATIC ${LAYER_SOURCES})
  target_include_directories(${name} PUBLIC ${VOKARI_ROOT} ${VOKARI_ROOT}/include)
  vokari_layer_properties(${name})
  if(LAYER_BELOW)
    target_link_libraries(${name} PUBLIC ${LAYER_BELOW})
  endif()
endfunction()

vokari_layer(vokari_base SOURCES ${VOKARI_BASE_SOURCES})
vokari_layer(vokari_platform SOURCES ${VOKARI_PLATFORM_SOURCES} ${VOKARI_PLATFORM_COMMON} BELOW vokari_base)
vokari_layer(vokari_voice_data SOURCES ${VOKARI_VOICE_DATA_SOURCES} BELOW vokari_platform)
include(${CMAKE_CURRENT_LIST_DIR}/reading-frontend.cmake)
vokari_layer(vokari_reading SOURCES ${VOKARI_READING_SOURCES} BELOW vokari_voice_data)
target_link_libraries(vokari_reading PRIVATE vokari_reading_frontend vokari_prosody_engine)
target_compile_options(vokari_reading_frontend PRIVATE -include ${VOKARI_ROOT}/reading/frontend/forced_include.h)
vokari_layer(vokari_translate SOURCES ${VOKARI_TRANSLATE_SOURCES} BELOW vokari_reading)
vokari_layer(vokari_synth SOURCES ${VOKARI_SYNTH_SOURCES} BELOW vokari_translate)
if(VOKARI_PLATFORM_BACKEND STREQUAL "win32")
  target_link_libraries(vokari_platform PUBLIC winmm)
elseif(VOKARI_PLATFORM_BACKEND STREQUAL "posix")
  target_link_libraries(vokari_platform PUBLIC ${CMAKE_DL_LIBS} pthread)
endif()

# The top layer, compiled once and linked into whatever carries the exports.
add_library(vokari_host OBJECT ${VOKARI_HOST_SOURCES})
target_link_libraries(vokari_host PUBLIC vokari_synth)
vokari_layer_properties(vokari_host)
