#!/bin/bash
# The tree that `cmake --install` stages under a DESTDIR, read as a Linux
# desktop reads it: entry, metainfo and file type valid and in force, and both
# programs working from there, on their own data, even once the tree is moved.
#
#   installed-tree.sh SOURCE_DIR BUILD_DIR WORK_DIR VERSION
set -u
source=$1 build=$2 work=$3 version=$4
. "$source/tests/install/common.sh"
unset FORMWRIGHT_DATA_DIR DISPLAY WAYLAND_DISPLAY
export FORMWRIGHT_CONFIG_FILE=/nonexistent

rm -rf "$work"
root=$work/root
if ! DESTDIR=$root cmake --install "$build" --prefix /usr > "$work.log" 2>&1; then
    cat "$work.log"
    exit 1
fi
usr=$root/usr
share=$usr/share
(cd "$root" && find . -type f | sed 's|^\./|/|') > "$work/listing"
expect_files "$work/listing" /usr "$source"

desktop-file-validate "$share"/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml > "$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate"; }

# gio answers the type from the shared MIME database, as a GNOME desktop does.
form_type=application/x-form-definition+xml
grep -qx "MimeType=$form_type;" "$share"/applications/*.desktop || fail "the entry does not open $form_type"
export XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=$share XDG_DATA_DIRS=$share:/usr/share
update-mime-database "$share/mime" || fail "update-mime-database"
filetype()
{
    xdg-mime query filetype "$1"
}
[ "$(filetype "$share/formwright/samples/PUMP_Main.xml")" = "$form_type" ] || fail "the sample is not a $form_type"
cp "$share/formwright/samples/VALVE_Main.xml" "$work/valve.form"
[ "$(filetype "$work/valve.form")" = "$form_type" ] || fail "a form not named .xml is not a $form_type"
[ "$(filetype "$share/formwright/model/demo-model.xml")" = application/xml ] || fail "any XML file is a $form_type"

[ "$("$usr/bin/formwright-tool" --version)" = "formwright-tool $version" ] || fail "formwright-tool --version"
[ "$("$usr/bin/formwright" --version)" = "formwright $version" ] || fail "formwright --version"
"$usr/bin/formwright" --help | grep -q -- "--screenshot" || fail "formwright --help"
"$usr/bin/formwright-tool" check "$share"/formwright/samples/*.xml || fail "check on the installed samples"

# Moved elsewhere, the tree still finds its own data, and not the source's: a
# language taken out of it is gone.
mkdir -p "$root/opt" && mv "$usr" "$root/opt/formwright"
moved=$root/opt/formwright
"$moved/bin/formwright-tool" --language German check "$moved"/share/formwright/samples/PUMP_Main.xml ||
    fail "check in the moved tree"
rm "$moved/share/formwright/lang/German.lang"
"$moved/bin/formwright-tool" --language German check "$moved"/share/formwright/samples/PUMP_Main.xml 2> /dev/null &&
    fail "the moved tree read another tree's languages"
finish
