# Checks the native shared library the way a program that opens it sees it:
# it defines exactly the dynamic symbols load, request and unload.
#   cmake -DLIBRARY=path/libvokari.so -DNM=nm -P check-shared-library.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}: ${errors}")
endif()

# Each line is "[address] type name[@version]"; the name is the last field.
string(REPLACE "\n" ";" lines "${dump}")
set(exports "")
foreach(line IN LISTS lines)
  if(line MATCHES "([^ \t]+)[ \t]*$")
    list(APPEND exports "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "load;request;unload")
  string(REPLACE ";" "\n  " listed "${exports}")
  message(FATAL_ERROR "${LIBRARY} exports\n  ${listed}\nexpected exactly load, request and unload")
endif()
message(STATUS "exports: ${exports}")
