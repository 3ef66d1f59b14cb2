#!/bin/sh
# clang-format.sh FOLDER…: fails on a C++ file below the folders that differs
# from what clang-format makes of it (the nearest .clang-format), naming the
# place.
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
status=0
for folder in "$@"; do
    [ -d "$folder" ] || { echo "$folder: no such folder" >&2; status=1; }
done
find "$@" \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null | xargs -0 -r clang-format --dry-run --Werror || status=1
exit $status
