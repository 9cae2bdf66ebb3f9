# The tools' source lists, named once for the native tools (tools/*/) and the
# browser workbench (web/), which compiles the parts that need no desktop
# library.  Paths are absolute.
set(_tools ${CMAKE_CURRENT_LIST_DIR})

# Sets `variable` to the files <stem>.cpp of tools/<folder>.
function(_vokari_tool_sources variable folder)
  set(paths "")
  foreach(stem IN LISTS ARGN)
    list(APPEND paths ${_tools}/${folder}/${stem}.cpp)
  endforeach()
  set(${variable} ${paths} PARENT_SCOPE)
endfunction()

# The tools' shared library: Japanese text, and on the desktop the output file
# written whole and the running program's path.  The desktop converts code page 932 with iconv, the browser
# with its own decoder.
_vokari_tool_sources(VOKARI_TEXT_SOURCES text shift_jis text_detection utf8)
_vokari_tool_sources(VOKARI_TEXT_DESKTOP_SOURCES text file_replacement program_path shift_jis_iconv)
_vokari_tool_sources(VOKARI_TEXT_WIN32_SOURCES text file_replacement program_path shift_jis_win32)

# vokari-say: the display and picture of an utterance, and the program around
# them (the module library, the sound device, files and options).
_vokari_tool_sources(VOKARI_SAY_DISPLAY_SOURCES vokari-say display_timeline mulaw_wav script_input utterance_svg)
_vokari_tool_sources(VOKARI_SAY_DESKTOP_SOURCES vokari-say
  locations module_library module_log options output_files paced_display private_host protocol
  sound_device speech_report text_encoding)

# The voice-bank builder's analysis and CV bank importer; the desktop adds
# the reader and writer of recording files (the browser decodes and resamples
# them).
_vokari_tool_sources(VOICEBANK_ANALYSIS_SOURCES voicebank
  band_energy_frames bank_build bank_writer corrections folder_index kana_alias loop_points oto_bank oto_ini
  pitch_period recording_checks recordings_build sample_shaping slot_analysis syllables vowel_onset)
_vokari_tool_sources(VOICEBANK_DESKTOP_SOURCES voicebank audio_input list_chunk_check recording_file)
unset(_tools)
