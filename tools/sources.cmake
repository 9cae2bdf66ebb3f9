# The tools' source lists, named once for the native tools (tools/*/) and the
# browser workbench (web/), which compiles the parts that need no desktop
# library.  Paths are absolute.
set(_tools ${CMAKE_CURRENT_LIST_DIR})

# The tools' shared library: Japanese text, and on the desktop the output file
# written whole.  The desktop converts code page 932 with iconv, the browser
# with its own decoder.
set(VOKARI_TEXT_SOURCES ${_tools}/text/shift_jis.cpp ${_tools}/text/text_detection.cpp ${_tools}/text/utf8.cpp)
set(VOKARI_TEXT_DESKTOP_SOURCES ${_tools}/text/file_replacement.cpp ${_tools}/text/shift_jis_iconv.cpp)
set(VOKARI_TEXT_WIN32_SOURCES ${_tools}/text/file_replacement.cpp ${_tools}/text/shift_jis_win32.cpp)

# vokari-say: the display and picture of an utterance, and the program around
# them (the module library, the sound device, files and options).
set(VOKARI_SAY_DISPLAY_SOURCES
  ${_tools}/vokari-say/display_timeline.cpp
  ${_tools}/vokari-say/mulaw_wav.cpp
  ${_tools}/vokari-say/script_input.cpp
  ${_tools}/vokari-say/utterance_svg.cpp)
set(VOKARI_SAY_DESKTOP_SOURCES
  ${_tools}/vokari-say/location_search.cpp
  ${_tools}/vokari-say/module_library.cpp
  ${_tools}/vokari-say/module_log.cpp
  ${_tools}/vokari-say/options.cpp
  ${_tools}/vokari-say/paced_display.cpp
  ${_tools}/vokari-say/private_host.cpp
  ${_tools}/vokari-say/protocol.cpp
  ${_tools}/vokari-say/reading_lines.cpp
  ${_tools}/vokari-say/speech_report.cpp
  ${_tools}/vokari-say/text_encoding.cpp)
# The pieces that talk to the system, one form for each.
set(VOKARI_SAY_POSIX_SOURCES
  ${_tools}/vokari-say/locations.cpp
  ${_tools}/vokari-say/module_library_posix.cpp
  ${_tools}/vokari-say/output_files.cpp
  ${_tools}/vokari-say/private_tree_posix.cpp
  ${_tools}/vokari-say/sound_device.cpp)
set(VOKARI_SAY_WIN32_SOURCES
  ${_tools}/vokari-say/locations_win32.cpp
  ${_tools}/vokari-say/module_library_win32.cpp
  ${_tools}/vokari-say/output_files_win32.cpp
  ${_tools}/vokari-say/private_tree_win32.cpp
  ${_tools}/vokari-say/sound_device_win32.cpp)

# The voice-bank builder's analysis and CV bank importer; the desktop adds
# the reader of recording files (the browser decodes and resamples them).
set(VOICEBANK_ANALYSIS_SOURCES
  ${_tools}/voicebank/band_energy_frames.cpp
  ${_tools}/voicebank/bank_build.cpp
  ${_tools}/voicebank/bank_writer.cpp
  ${_tools}/voicebank/corrections.cpp
  ${_tools}/voicebank/folder_index.cpp
  ${_tools}/voicebank/kana_alias.cpp
  ${_tools}/voicebank/loop_points.cpp
  ${_tools}/voicebank/oto_bank.cpp
  ${_tools}/voicebank/oto_ini.cpp
  ${_tools}/voicebank/pitch_period.cpp
  ${_tools}/voicebank/recording_checks.cpp
  ${_tools}/voicebank/sample_shaping.cpp
  ${_tools}/voicebank/slot_analysis.cpp
  ${_tools}/voicebank/syllables.cpp
  ${_tools}/voicebank/vowel_onset.cpp)
set(VOICEBANK_DESKTOP_SOURCES ${_tools}/voicebank/audio_input.cpp)
unset(_tools)
