#!/bin/sh
# `make run`: starts the workbench on the user's display. On a machine without
# one it says so, starts the workbench on a private Xvfb with a sample open,
# saves a picture of its window and prints where it is.
#
# Usage: run-workbench.sh [BUILD_DIR] [VEXADROME OPTIONS OR FILES...]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
[ $# -gt 0 ] && shift
program="$build/bin/vexadrome"
sample=samples/vector_basics.vexscr

if [ ! -x "$program" ]; then
    echo "run-workbench: $program is not built yet (make build)" >&2
    exit 1
fi

# The terminal modes need no display.
case "${1:-}" in
    --calc | --run | --export | --help | -h) exec "$program" "$@" ;;
esac

display_answers() {
    [ -n "${DISPLAY:-}" ] || return 1
    # Without xdpyinfo a set DISPLAY is taken at its word.
    command -v xdpyinfo >/dev/null 2>&1 || return 0
    xdpyinfo >/dev/null 2>&1
}

if display_answers; then
    exec "$program" "$@"
fi

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "run-workbench: no X display answers and Xvfb is missing (sh scripts/install-deps.sh)" >&2
    exit 1
fi
[ $# -gt 0 ] || set -- "$sample"
screenshot="$(pwd)/$build/workbench.png"
echo "No X display answers${DISPLAY:+ at $DISPLAY}: starting the workbench on a private Xvfb with $* open."

# Xvfb picks a free display itself and writes its number to the file.
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$number_file"' EXIT INT TERM
tries=0
until [ -s "$number_file" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "run-workbench: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done

rm -f "$screenshot"
status=0
DISPLAY=":$(cat "$number_file")" "$program" --screenshot "$screenshot" "$@" || status=$?
if [ $status -ne 0 ] || [ ! -s "$screenshot" ]; then
    echo "run-workbench: the workbench ended with status $status without a screenshot" >&2
    exit 1
fi
echo "Screenshot of the workbench: $screenshot"
