# Embeds every file under a folder into a generated C++ source as byte arrays,
# reachable at run time through resources::get("relative/path").
function(zelvora_embed_resources target folder)
  file(GLOB_RECURSE files RELATIVE "${folder}" CONFIGURE_DEPENDS "${folder}/*")
  list(FILTER files EXCLUDE REGEX "(^|/)\\.")
  list(SORT files)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cpp")
  set(inputs "")
  foreach(f IN LISTS files)
    list(APPEND inputs "${folder}/${f}")
  endforeach()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DOUT=${out} -P "${PROJECT_SOURCE_DIR}/cmake/embed.cmake"
    DEPENDS ${inputs} "${PROJECT_SOURCE_DIR}/cmake/embed.cmake"
    COMMENT "Embedding resources"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
