# The Japanese text analyser under the reading step: the MeCab copy and the
# text-analysis libraries of Debian's open-jtalk source package, compiled
# here as one static library for whatever tool chain the build uses (native,
# mingw i686, emscripten).  The source is fetched into the build, never
# committed (scripts/fetch-frontend-source.sh checks it against the .dsc).
# Shift_JIS throughout, as the module's scripts are (the rule tables in their
# escaped form, ASCII_HEADER, since a raw trail byte 0x5C ends a C string);
# the dictionary is compiled in Shift_JIS to match
# (scripts/make_reading_frontend_dictionary.py).
#
# Defines the static library vokari_reading_frontend and, for the tools that
# compile the dictionary, VOKARI_FRONTEND_SOURCE (the unpacked tree); the
# prosody engine beside it comes from cmake/prosody-engine.cmake.
set(VOKARI_FRONTEND_CACHE "${VOKARI_ROOT}/build/frontend-source" CACHE PATH
    "Where the open-jtalk source package is fetched and unpacked")
set(VOKARI_FRONTEND_SOURCE "${VOKARI_FRONTEND_CACHE}/open_jtalk")
if(NOT EXISTS "${VOKARI_FRONTEND_SOURCE}/.complete" OR NOT EXISTS "${VOKARI_FRONTEND_CACHE}/hts_engine/.complete")
  execute_process(COMMAND bash "${VOKARI_ROOT}/scripts/fetch-frontend-source.sh" "${VOKARI_FRONTEND_CACHE}"
                  RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "fetching the open-jtalk or htsengine source package failed (run scripts/install-deps.sh first)")
  endif()
endif()

set(frontend "${VOKARI_FRONTEND_SOURCE}")
# The tagger and what it needs; the learner and the dictionary compiler stay
# out (the dictionary is compiled by Debian's mecab-dict-index), and so does
# the C interface (libmecab.cpp), whose names the system's libmecab has too:
# its error buffer comes from reading/frontend/global_error.cpp.
set(VOKARI_FRONTEND_MECAB_FILES char_property connector context_id dictionary dictionary_rewriter
    feature_index iconv_utils mecab nbest_generator param string_buffer tagger tokenizer
    utils viterbi writer)
set(VOKARI_FRONTEND_SOURCES ${VOKARI_ROOT}/reading/frontend/global_error.cpp)
foreach(file ${VOKARI_FRONTEND_MECAB_FILES})
  list(APPEND VOKARI_FRONTEND_SOURCES "${frontend}/mecab/src/${file}.cpp")
endforeach()
# The label library and the steps before it turn the analysis into the
# prosody model's full-context labels.
foreach(part text2mecab mecab2njd njd njd_set_pronunciation njd_set_digit njd_set_accent_phrase
             njd_set_accent_type njd_set_long_vowel njd_set_unvoiced_vowel njd2jpcommon jpcommon)
  file(GLOB part_sources "${frontend}/${part}/*.c")
  list(APPEND VOKARI_FRONTEND_SOURCES ${part_sources})
endforeach()

add_library(vokari_reading_frontend STATIC ${VOKARI_FRONTEND_SOURCES})
target_include_directories(vokari_reading_frontend SYSTEM PUBLIC
  "${frontend}/mecab/src" "${frontend}/text2mecab" "${frontend}/mecab2njd" "${frontend}/njd"
  "${frontend}/njd_set_pronunciation" "${frontend}/njd_set_digit" "${frontend}/njd_set_accent_phrase"
  "${frontend}/njd_set_accent_type" "${frontend}/njd_set_long_vowel" "${frontend}/njd_set_unvoiced_vowel"
  "${frontend}/njd2jpcommon" "${frontend}/jpcommon")
target_compile_definitions(vokari_reading_frontend PRIVATE
  CHARSET_SHIFT_JIS ASCII_HEADER DIC_VERSION=102 MECAB_WITHOUT_MUTEX_LOCK MECAB_DEFAULT_RC="dummy"
  PACKAGE="open_jtalk" VERSION="1.11"
  HAVE_STRING_H HAVE_STDLIB_H HAVE_STDINT_H HAVE_SYS_TYPES_H HAVE_SYS_STAT_H HAVE_FCNTL_H)
if(VOKARI_PLATFORM_BACKEND STREQUAL "win32")
  # MeCab maps the dictionary with CreateFileMapping itself.
  target_compile_definitions(vokari_reading_frontend PRIVATE HAVE_WINDOWS_H MECAB_STATIC)
elseif(VOKARI_PLATFORM_BACKEND STREQUAL "posix")
  target_compile_definitions(vokari_reading_frontend PRIVATE HAVE_UNISTD_H HAVE_DIRENT_H HAVE_MMAP HAVE_SYS_MMAN_H)
else()
  # The browser has no mmap: MeCab reads the files into the heap.
  target_compile_definitions(vokari_reading_frontend PRIVATE HAVE_UNISTD_H HAVE_DIRENT_H)
endif()
# Third-party code: its own warnings are not ours to fix.
target_compile_options(vokari_reading_frontend PRIVATE -w)
# Written for C++ of its day ('register', mingw's _stdcall): compiled as GNU C++11.
set_target_properties(vokari_reading_frontend PROPERTIES
  CXX_STANDARD 11 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON C_VISIBILITY_PRESET hidden)
if(NOT VOKARI_PLATFORM_BACKEND STREQUAL "web")
  set_target_properties(vokari_reading_frontend PROPERTIES POSITION_INDEPENDENT_CODE ON)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/prosody-engine.cmake)
