#!/bin/sh
# no-match.sh REGEX 'GLOB…' FOLDER…: fails when REGEX matches a line of a file
# matching one of the globs below the folders, and when a folder is missing
# (a folder that moved would leave its files unchecked).
regex=$1
globs=$2
shift 2
status=0
includes=""
for glob in $globs; do
    includes="$includes --include=$glob"
done
for folder in "$@"; do
    [ -d "$folder" ] || { echo "$folder: no such folder" >&2; status=1; }
done
# shellcheck disable=SC2086
if grep -rnE $includes -e "$regex" "$@" 2>/dev/null; then
    status=1
fi
exit $status
