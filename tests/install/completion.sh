#!/bin/bash
# The bash completion of formwright-tool, run as bash runs it on Tab: the
# commands and options its --help lists, form files, scripts and languages
# where they belong.
#
#   completion.sh SOURCE_DIR PROGRAM WORK_DIR
set -u
export LC_ALL=C
source=$1 program=$2 work=$3
. "$source/tests/install/common.sh"
. "$source/packaging/completion/formwright-tool"

help=$("$program" --help)
commands=$(sed -n '/^commands:/,/^$/p' <<< "$help" | grep -oE '^  [a-z]+' | sort -u | tr -d ' ' | tr '\n' ' ')
options=$(grep -oE -- '(^|[][ ,(|])--?[a-z][a-z-]*' <<< "$help" | grep -oE -- '--?[a-z][a-z-]*' | sort | uniq |
    tr '\n' ' ')
rm -rf "$work" && mkdir -p "$work/forms" && cd "$work" || exit 1
touch PUMP_Main.xml "Old pump.xml" moves.script notes.txt

# expect "WANTED" WORD...: Tab after the words (the last one is being typed).
expect()
{
    local wanted=$1
    shift
    COMP_WORDS=(formwright-tool "$@")
    COMP_CWORD=$#
    _formwright_tool
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    [ "$got" = "$wanted " ] || fail "formwright-tool $* <Tab>: \"$got\", not \"$wanted \""
}

expect "${commands% }" ""
expect "${options% }" -
expect "--form" --f
expect "German" --language G
expect "check" --language German ch
expect "Old pump.xml PUMP_Main.xml forms" check ""
expect "Old pump.xml PUMP_Main.xml forms" check PUMP_Main.xml ""
expect "Old pump.xml PUMP_Main.xml forms" --model ""
expect "forms moves.script" script PUMP_Main.xml ""
expect "forms moves.script" render PUMP_Main.xml -o out.png --editor --script ""
expect "PUMP_Main.xml" render -o out.png --zoom 2 P
expect "" dump PUMP_Main.xml --form ""
expect "Old pump.xml PUMP_Main.xml forms moves.script notes.txt" fmt PUMP_Main.xml -o ""
finish
