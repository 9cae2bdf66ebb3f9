# Copies the analyser dictionary folder FROM to TO when the native build has
# made it; without it, TO is removed, so that the site never serves a stale one.
#   cmake -DFROM=DIR -DTO=DIR -P copy_dictionary.cmake
if(EXISTS "${FROM}/checksums")
  file(COPY "${FROM}/" DESTINATION "${TO}")
else()
  file(REMOVE_RECURSE "${TO}")
endif()
