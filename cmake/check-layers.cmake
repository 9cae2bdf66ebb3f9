# The layer rule of the module: a file may include headers of its own layer
# and of the layers below it, never of a layer above.  The layers are the
# folders of VOKARI_LAYER_DIRECTORIES, bottom first, none inside another.
# Programs in tools/ may include the bottom layer, the system layer above it
# (platform/: vokari-say probes the sound device with the player's own
# loader) and the public headers in include/, nothing else of the module
# (they use it through its exported functions otherwise).  The page's own
# sources in web/src are held to the same rule, but for the front end's hook
# that they fill and the timeline it hands them (VOKARI_FRONT_END_SEAM).
#
# Included at configure time, or run as a script:
#   cmake -DROOT=<source tree> -DLAYERS="base;platform;..." -P check-layers.cmake
# which prints every upward include and fails when there is one.

cmake_policy(SET CMP0057 NEW)

set(VOKARI_FRONT_END_SEAM host/front_end_hook.h translate/timeline.h)

# The index of the layer that holds `path` (relative to the tree), or -1.
function(vokari_layer_of path layers out_var)
  set(index 0)
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${layer}/")
      set(${out_var} ${index} PARENT_SCOPE)
      return()
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out_var} -1 PARENT_SCOPE)
endfunction()

# The quoted includes of the file `file`, one list entry each.
function(vokari_quoted_includes file out_var)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(result)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
    list(APPEND result "${included}")
  endforeach()
  set(${out_var} "${result}" PARENT_SCOPE)
endfunction()

# Sets `out_var` to one line per include that breaks the rule (empty: none).
function(vokari_check_layers root out_var)
  set(layers ${VOKARI_LAYER_DIRECTORIES})
  set(errors "")
  set(files)
  foreach(layer IN LISTS layers)
    file(GLOB_RECURSE found RELATIVE "${root}" "${root}/${layer}/*.h" "${root}/${layer}/*.cpp")
    list(APPEND files ${found})
  endforeach()
  file(GLOB_RECURSE tool_files RELATIVE "${root}" "${root}/tools/*.h" "${root}/tools/*.cpp")
  file(GLOB_RECURSE page_files RELATIVE "${root}" "${root}/web/src/*.h" "${root}/web/src/*.cpp")
  list(REMOVE_DUPLICATES files)
  foreach(file IN LISTS files tool_files page_files)
    vokari_layer_of("${file}" "${layers}" own)
    vokari_quoted_includes("${root}/${file}" includes)
    foreach(included IN LISTS includes)
      vokari_layer_of("${included}" "${layers}" target)
      if(target EQUAL -1)
        continue()
      endif()
      if(own EQUAL -1)
        # A tool or the page: base/ and platform/ only (public headers are
        # outside the layers); the page also the hook it fills.
        if(file IN_LIST page_files AND included IN_LIST VOKARI_FRONT_END_SEAM)
          continue()
        endif()
        if(target GREATER 1)
          string(APPEND errors "  ${file} includes ${included}, not a public header of the module\n")
        endif()
      elseif(target GREATER own)
        list(GET layers ${own} own_name)
        list(GET layers ${target} target_name)
        string(APPEND errors "  ${file} (${own_name}) includes ${included} (${target_name}, above it)\n")
      endif()
    endforeach()
  endforeach()
  set(${out_var} "${errors}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  set(VOKARI_LAYER_DIRECTORIES ${LAYERS})
  vokari_check_layers("${ROOT}" errors)
  if(errors)
    message(FATAL_ERROR "Upward includes between the module's layers:\n${errors}")
  endif()
  message(STATUS "No upward include in ${ROOT}")
endif()
