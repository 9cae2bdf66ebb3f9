# No mutable variable at namespace scope: lists the writable data objects
# (symbols in .data or .bss, not the read-only-after-relocation .data.rel.ro)
# of the given object files or static libraries and fails on any that is not
# one of the two the module keeps on purpose: the entry points' module object
# and the platform's player registration (with the player backend's state
# behind it).  Also allowed: the references the compiler makes for exception
# handling and the sanitizers' own bookkeeping (AddressSanitizer gives every
# global an "__odr_asan." marker, and its coverage counters live in .bss too).
#
#   cmake -DOBJDUMP=objdump -DFILES="a.a;b.o" -P check-mutable-globals.cmake
set(allowed
  "loaded_module"                           # host/entry_points.cpp
  "installed_player"                        # platform/player.cpp
  "system_player.*loaded"                   # platform/posix/player_portaudio.cpp
  "platform.*_GLOBAL__N_1.*state.*instance" # platform/posix/player_portaudio.cpp
  "^DW\\.ref\\."
  "^__odr_asan[._]"
  "^___?asan_"
  "^__ubsan_"
  "^__sancov_")
set(found "")
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${OBJDUMP} -t ${file} OUTPUT_VARIABLE table RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -t ${file} failed")
  endif()
  string(REPLACE "\n" ";" lines "${table}")
  foreach(line IN LISTS lines)
    # "<address> <flags> O <section>\t<size> <name>": data objects only.
    if(NOT line MATCHES "^[0-9a-f]+ [^\t]* O (\\.data[^\t]*|\\.bss[^\t]*)\t[0-9a-f]+ (.*)$")
      continue()
    endif()
    set(section "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^\\.hidden " "" name "${CMAKE_MATCH_2}")
    if(section MATCHES "^\\.data\\.rel\\.ro")
      continue()
    endif()
    set(ok FALSE)
    foreach(pattern IN LISTS allowed)
      if(name MATCHES "${pattern}")
        set(ok TRUE)
      endif()
    endforeach()
    if(NOT ok)
      string(APPEND found "  ${name} (${section}) in ${file}\n")
    endif()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Mutable variables at namespace scope:\n${found}")
endif()
message(STATUS "No mutable namespace-scope variable beyond the allowed ones")
