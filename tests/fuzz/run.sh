#!/bin/sh
# Runs each fuzz target for the given number of seconds on its corpus
# (tests/fuzz/corpus/<target>, grown in a scratch copy so the tree stays clean).
# Usage: run.sh BIN_FOLDER SECONDS
set -eu
bin="$1"
seconds="$2"
here="$(cd "$(dirname "$0")" && pwd)"
for target in parser calculator xml; do
    case "$target" in
        xml) max_len=4096 ;;
        *) max_len=512 ;;
    esac
    work="$(mktemp -d)"
    cp "$here/corpus/$target/"* "$work/"
    echo "== ${target}_fuzz for ${seconds}s"
    "$bin/${target}_fuzz" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work"
    rm -rf "$work"
done
