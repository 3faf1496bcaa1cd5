# Shared by the installation tests: failures are counted, not fatal, so that
# one run names every fault.
failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# expect_files LISTING PREFIX SOURCE_DIR: LISTING (one path a line, as found)
# holds every file of installed-files.txt and of the source's data/ below PREFIX.
expect_files()
{
    local listing=$1 prefix=$2 source=$3 path
    {
        grep -v '^#' "$source/tests/install/installed-files.txt"
        (cd "$source/data" && find . -type f | sed 's|^\./|share/formwright/|')
    } | while read -r path; do
        grep -qxF "$prefix/$path" "$listing" || echo "FAIL: missing $prefix/$path"
    done | tee "$listing.missing"
    [ -s "$listing.missing" ] && failures=$((failures + 1))
    return 0
}

finish()
{
    [ "$failures" -eq 0 ] && echo "all checks passed" && exit 0
    echo "$failures failed"
    exit 1
}
