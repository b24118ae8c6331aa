#!/bin/sh
# Renders every sample graph to docs/render_NAME.png from the graph view's
# default camera, without a display (vexadrome --render). A graph that uses
# a script's definitions gets the script run first.
#
# Usage: render-samples.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/.."
program="${1:-build}/bin/vexadrome"
for graph in samples/*.graph; do
    name=$(basename "$graph" .graph)
    case "$name" in
        bump_and_saddle) set -- --run samples/surface_functions.vexscr ;;
        *) set -- ;;
    esac
    "$program" "$@" --render "$graph" "docs/render_$name.png" --size 800x600 >/dev/null
    echo "docs/render_$name.png"
done
