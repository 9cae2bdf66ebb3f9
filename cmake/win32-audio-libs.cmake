# The Windows tools' audio libraries: libsndfile and libsamplerate built from
# Debian's source packages with mingw-w64 (scripts/build-win32-libs.sh) into
# the build tree once, at configure time, and linked statically under the
# same target names as the native build's pkg-config targets.
set(VOKARI_WIN32_LIBS ${CMAKE_BINARY_DIR}/win32-libs)
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-win32-libs.sh ${VOKARI_WIN32_LIBS}
                RESULT_VARIABLE win32_libs_failed)
if(win32_libs_failed)
  message(STATUS "voicebank: libsndfile or libsamplerate could not be built for Windows, builder not built")
  set(SNDFILE_FOUND FALSE)
  set(SAMPLERATE_FOUND FALSE)
  return()
endif()
foreach(library SNDFILE SAMPLERATE)
  string(TOLOWER ${library} file)
  add_library(PkgConfig::${library} STATIC IMPORTED)
  set_target_properties(PkgConfig::${library} PROPERTIES
    IMPORTED_LOCATION ${VOKARI_WIN32_LIBS}/lib/lib${file}.a
    INTERFACE_INCLUDE_DIRECTORIES ${VOKARI_WIN32_LIBS}/include)
  set(${library}_FOUND TRUE)
endforeach()
