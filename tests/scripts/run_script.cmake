# Runs one console script against the real program with a fresh profile folder. The run
# passes when the program exits with 0 (every expect held, no command failed) and, when a
# NAME.out file sits beside the script, prints exactly what that file holds. There a line
# "ok  # WHAT" stands for the "ok" an expect prints, WHAT saying what it checked.
foreach(var ZELVORA SCRIPT PROFILE CONFIG)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_script.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${PROFILE}")
file(MAKE_DIRECTORY "${PROFILE}")
set(ENV{ZELVORA_CONFIG} "")
execute_process(
  COMMAND "${ZELVORA}" --headless --profile "${PROFILE}" --config "${CONFIG}" --script "${SCRIPT}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
message("${output}")
if(errors)
  message("standard error:\n${errors}")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCRIPT}: exit status ${status}")
endif()

get_filename_component(folder "${SCRIPT}" DIRECTORY)
get_filename_component(name "${SCRIPT}" NAME_WE)
set(expected_file "${folder}/${name}.out")
if(EXISTS "${expected_file}")
  file(READ "${expected_file}" expected)
  string(REGEX REPLACE "\nok  # [^\n]*" "\nok" expected "\n${expected}")
  string(SUBSTRING "${expected}" 1 -1 expected)
  if(NOT output STREQUAL expected)
    message(FATAL_ERROR "${SCRIPT}: the output differs from ${expected_file}")
  endif()
endif()
