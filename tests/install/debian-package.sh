#!/bin/bash
# The Debian package as `make deb` builds it: every installed file in it, its
# dependencies derived from the programs and met here, no lintian error; then
# installed into a throwaway root with a dpkg database of its own (never this
# system's), run from there and purged again.
#
#   debian-package.sh SOURCE_DIR BUILD_DIR WORK_DIR VERSION
set -u
source=$1 build=$2 work=$3 version=$4
. "$source/tests/install/common.sh"
unset FORMWRIGHT_DATA_DIR
export FORMWRIGHT_CONFIG_FILE=/nonexistent

rm -rf "$work" && mkdir -p "$work"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb=$work/formwright_${version}_amd64.deb
[ -f "$deb" ] || { fail "no $deb" && finish; }

dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' > "$work/listing"
expect_files "$work/listing" /usr "$source"
dpkg-deb -f "$deb" Depends | grep -q "libwxgtk3.2" || fail "no dependencies derived from the programs"
lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 || { cat "$work/lintian.log" && fail "lintian"; }
apt-get --simulate -o Debug::NoLocking=1 install "$deb" > "$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" && fail "the dependencies cannot be met"; }

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && touch "$root/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$root" --log=/dev/null)
[ "$(id -u)" -eq 0 ] || dpkg_root=(fakeroot "${dpkg_root[@]}" --force-not-root)
# The libraries it depends on are this machine's, outside the throwaway root.
"${dpkg_root[@]}" --force-depends -i "$deb" > "$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" && fail "dpkg -i"; }
"$root/usr/bin/formwright-tool" check "$root/usr/share/formwright/samples/PUMP_Main.xml" ||
    fail "check from the installed package"
"${dpkg_root[@]}" -P formwright >> "$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" && fail "dpkg -P"; }
left=$(find "$root" -mindepth 1 -path "$root/var" -prune -o -print | head -5)
[ -z "$left" ] || fail "purging left $left"
finish
