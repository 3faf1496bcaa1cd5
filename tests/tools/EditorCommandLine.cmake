# The editor's command line as a user meets it: the help and the missing
# desktop answered before the toolkit starts, and every start that cannot do
# what it was asked ending with status 1 and a line on stderr, never hanging
# on a message box while a picture is taken.
#
#   xvfb-run -a cmake -DEDITOR=formwright -DSAMPLE=PUMP_Main.xml -DWORK_DIR=dir -P EditorCommandLine.cmake
#
# One virtual display serves every start that needs one; the others run with
# DISPLAY and WAYLAND_DISPLAY removed.

if(NOT DEFINED ENV{DISPLAY})
  message(FATAL_ERROR "run this under xvfb-run (or another display)")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/PUMP_Folder.xml)
file(WRITE ${WORK_DIR}/PUMP_Torn.xml "<FormDefinition>\n<Dialog>\n")
set(failures 0)

# check(DISPLAY|NONE CODE OUT_REGEX ERR_REGEX ARG...): one start of the editor.
function(check display code out_regex err_regex)
  if(display STREQUAL "DISPLAY")
    set(start ${EDITOR})
  else()
    set(start ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${EDITOR})
  endif()
  execute_process(COMMAND ${start} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
    TIMEOUT 60)
  set(problem "")
  if(NOT rc STREQUAL "${code}")
    string(APPEND problem " exit status ${rc}, not ${code};")
  endif()
  if(NOT out MATCHES "${out_regex}")
    string(APPEND problem " output does not match \"${out_regex}\";")
  endif()
  if(NOT err MATCHES "${err_regex}")
    string(APPEND problem " error output does not match \"${err_regex}\";")
  endif()
  if(problem)
    message(SEND_ERROR "formwright ${ARGN} (${display}):${problem}\n--- stdout:\n${out}--- stderr:\n${err}")
  endif()
endfunction()

set(shot ${WORK_DIR}/shot.png)
check(NONE 0 "^Formwright .*Usage: formwright .*--screenshot" "^$" --help)
check(NONE 0 "Usage: formwright" "^$" ${SAMPLE} -h)
check(NONE 0 "^formwright [0-9]+\\.[0-9]+\\.[0-9]+\n$" "^$" --version)
check(NONE 1 "^$" "^formwright: the editor needs a desktop[^\n]*xvfb-run[^\n]*\n$" ${SAMPLE})
check(DISPLAY 1 "" "Unknown long option 'bogus'.*Usage: formwright" --bogus)
check(DISPLAY 1 "" "formwright: the file has no form NOPE" ${SAMPLE} --form NOPE)
check(DISPLAY 1 "" "formwright: no dialog named bogus" ${SAMPLE} --dialog bogus)
check(DISPLAY 1 "" "formwright: no dialog named bogus" ${SAMPLE} --dialog bogus --screenshot ${shot})
check(DISPLAY 1 "" "formwright: [^\n]*nosuch.xml[^\n]*No such file" ${WORK_DIR}/nosuch.xml --screenshot ${shot})
check(DISPLAY 1 "" "formwright: [^\n]*not a regular file" ${WORK_DIR}/PUMP_Folder.xml --screenshot ${shot})
check(DISPLAY 1 "" "formwright: [^\n]*line 2, column 9" ${WORK_DIR}/PUMP_Torn.xml --screenshot ${shot})
if(EXISTS ${shot})
  message(SEND_ERROR "a start that failed still saved ${shot}")
endif()
check(DISPLAY 0 "" "" ${SAMPLE} --screenshot ${shot})
# Several files, as a file manager hands them over: the last one is shown.
get_filename_component(valve ${SAMPLE} DIRECTORY)
set(valve ${valve}/VALVE_Main.xml)
check(DISPLAY 0 "" "" ${SAMPLE} ${valve} --select KV_VALUE --screenshot ${shot})
check(DISPLAY 1 "" "no element named KV_VALUE" ${valve} ${SAMPLE} --select KV_VALUE --screenshot ${shot})
if(NOT EXISTS ${shot})
  message(SEND_ERROR "no picture at ${shot}")
endif()
