#!/bin/bash
# A program's manual page describes exactly the options its --help lists,
# and renders without a warning.
#
#   manual-page.sh SOURCE_DIR PROGRAM PAGE
set -u
source=$1 program=$2 page=$3
. "$source/tests/install/common.sh"

options()
{
    grep -oE -- '(^|[][ ,(|"])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u
}
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help) || fail "$program --help"
in_help=$(options <<< "$help")
in_page=$(sed -n '/^\.SH OPTIONS/,/^\.SH [^O]/p' "$page" | sed 's/\\-/-/g; s/\\f[BIRP]//g' | options)
[ -n "$in_help" ] || fail "no options found in the help"
[ "$in_help" = "$in_page" ] || fail "options in the help and the page differ:" $'\n' \
    "$(diff <(echo "$in_help") <(echo "$in_page"))"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 > /dev/null)
[ -z "$warnings" ] || fail "the page renders with warnings: $warnings"
finish
