# Runs one editor script through formwright-tool and compares what it prints.
#
#   cmake -DTOOL=... -DSCRIPT=dir/NAME.script -DWORK_DIR=... -P RunScriptFixture.cmake
#
# The script's comments say what it runs on and how it ends:
#   # form: FILE      the form file, relative to the script's folder (required)
#   # exit: N         the expected exit status (default 0)
# Next to it, NAME.dump holds the expected standard output and NAME.err the
# expected error output (none: it must be empty). The edited file goes to
# WORK_DIR/NAME.xml; it must exist and read back after a clean run, and must
# not exist after a failed one.

foreach(var TOOL SCRIPT WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

get_filename_component(dir "${SCRIPT}" DIRECTORY)
get_filename_component(name "${SCRIPT}" NAME_WE)
get_filename_component(file "${SCRIPT}" NAME)

file(STRINGS "${SCRIPT}" form_lines REGEX "^# form: ")
file(STRINGS "${SCRIPT}" exit_lines REGEX "^# exit: ")
if(NOT form_lines)
  message(FATAL_ERROR "${file}: no '# form: FILE' line")
endif()
list(GET form_lines 0 form)
string(REGEX REPLACE "^# form: *" "" form "${form}")
set(expected_exit 0)
if(exit_lines)
  list(GET exit_lines 0 expected_exit)
  string(REGEX REPLACE "^# exit: *" "" expected_exit "${expected_exit}")
endif()

file(MAKE_DIRECTORY "${WORK_DIR}")
set(output "${WORK_DIR}/${name}.xml")
file(REMOVE "${output}")

# Relative names, so messages read the same in every checkout.
execute_process(
  COMMAND "${TOOL}" script "${form}" "${file}" -o "${output}" --dump
  WORKING_DIRECTORY "${dir}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)

set(failures "")
if(NOT status STREQUAL expected_exit)
  string(APPEND failures "exit status ${status}, expected ${expected_exit}\n")
endif()

set(expected_out "")
if(EXISTS "${dir}/${name}.dump")
  file(READ "${dir}/${name}.dump" expected_out)
elseif(expected_exit EQUAL 0)
  string(APPEND failures "${name}.dump is missing\n")
endif()
if(NOT out STREQUAL expected_out)
  file(WRITE "${WORK_DIR}/${name}.dump.actual" "${out}")
  string(APPEND failures "standard output differs from ${name}.dump (got ${WORK_DIR}/${name}.dump.actual)\n")
endif()

set(expected_err "")
if(EXISTS "${dir}/${name}.err")
  file(READ "${dir}/${name}.err" expected_err)
endif()
if(NOT err STREQUAL expected_err)
  string(APPEND failures "error output differs:\n--- expected\n${expected_err}--- got\n${err}")
endif()

if(expected_exit EQUAL 0)
  execute_process(COMMAND "${TOOL}" dump "${output}" RESULT_VARIABLE read_status OUTPUT_QUIET ERROR_VARIABLE read_err)
  if(NOT read_status EQUAL 0)
    string(APPEND failures "the written file does not read back: ${read_err}\n")
  endif()
elseif(EXISTS "${output}")
  string(APPEND failures "a failed script wrote ${output}\n")
endif()

if(failures)
  message(FATAL_ERROR "${file}:\n${failures}")
endif()
