# Checks the built DLL the way the host sees it: exactly the exports load,
# request and unload, and imports from system DLLs only (no runtime DLLs that
# the host's folder would lack).
#   cmake -DDLL=path/vokari.dll -DOBJDUMP=i686-w64-mingw32-objdump -P check-dll.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# The name table runs from its title to the next empty line.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t[^\n]*\n)*" export_table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" export_lines "${export_table}")
set(exports "")
foreach(line IN LISTS export_lines)
  string(REGEX REPLACE "\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "load;request;unload")
  message(FATAL_ERROR "exports are '${exports}', expected exactly load;request;unload")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
set(allowed KERNEL32.DLL MSVCRT.DLL WINMM.DLL USER32.DLL ADVAPI32.DLL GDI32.DLL SHELL32.DLL OLE32.DLL)
foreach(line IN LISTS import_lines)
  string(REPLACE "DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOUPPER "${name}" upper)
  list(FIND allowed "${upper}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "imports '${name}', which is not a system DLL")
  endif()
endforeach()
list(LENGTH import_lines import_count)
message(STATUS "exports: ${exports}; ${import_count} system DLL imports")
