# Checks that a shipped binary (libvokari.so, vokari.dll) carries no test
# hook: its full symbol table, not only the exports, names the platform's
# global_alloc but nothing that makes it fail on request.  The hook lives in
# the test program (tests/support/global_alloc_failure.cpp).
#   cmake -DBINARY=path/libvokari.so -DOBJDUMP=objdump -P check-no-test-hook.cmake
execute_process(COMMAND ${OBJDUMP} -t ${BINARY} OUTPUT_VARIABLE table ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -t failed on ${BINARY}: ${errors}")
endif()
# A stripped binary would pass for want of names: the table must show the
# memory-block function itself (mangled "12global_alloc").
if(NOT table MATCHES "12global_alloc")
  message(FATAL_ERROR "${BINARY} has no symbol table naming global_alloc; cannot look for test hooks")
endif()
set(hooks fail_global_alloc calls_until_failure)
set(found "")
foreach(hook IN LISTS hooks)
  if(table MATCHES "${hook}")
    list(APPEND found ${hook})
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "${BINARY} carries the test hook ${found}")
endif()
message(STATUS "${BINARY}: no test hook")
