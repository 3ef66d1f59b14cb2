#!/bin/sh
# Runs the README's two scripts with stand-ins for cmake, ctest and the app,
# and checks that CMake's own CMAKE_BUILD_PARALLEL_LEVEL and
# CTEST_PARALLEL_LEVEL choose the job counts, and every core without them.
# Usage: parallel-level.sh ROOT
set -eu
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/prefix/bin"
for tool in cmake ctest; do
    cat >"$work/bin/$tool" <<STUB
#!/bin/sh
echo "$tool \$*" >>"$work/calls"
if [ "\${1:-}" = "-S" ]; then mkdir -p "\$4"; fi
STUB
    chmod +x "$work/bin/$tool"
done
printf '#!/bin/sh\n' >"$work/prefix/bin/orvel"
chmod +x "$work/prefix/bin/orvel"

run() {
    : >"$work/calls"
    env PATH="$work/bin:$PATH" ORVEL_BUILD_DIR="$work/build" ORVEL_PREFIX="$work/prefix" "$@" >/dev/null
}
expect() {
    grep -qx -- "$1" "$work/calls" || { echo "not called: $1" >&2; cat "$work/calls" >&2; exit 1; }
}
run env CMAKE_BUILD_PARALLEL_LEVEL=3 CTEST_PARALLEL_LEVEL=2 "$root/scripts/test"
expect "cmake --build $work/build --parallel 3"
expect "ctest --output-on-failure --parallel 2"
run env CMAKE_BUILD_PARALLEL_LEVEL=3 "$root/scripts/run"
expect "cmake --build $work/build --parallel 3"
run env -u CMAKE_BUILD_PARALLEL_LEVEL -u CTEST_PARALLEL_LEVEL "$root/scripts/test"
expect "cmake --build $work/build --parallel $(nproc)"
expect "ctest --output-on-failure --parallel $(nproc)"
