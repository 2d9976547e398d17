#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time from a copy of its seed corpus,
# so that the committed corpus stays unchanged. Any crash, sanitizer report,
# leak or hang (a single input taking over 10 s) makes libFuzzer exit non-zero.
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$corpus" ]; then cp -r "$corpus"/. "$work/corpus/"; fi
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=4096 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus" 2>"$work/log" || {
  status=$?
  tail -n 60 "$work/log"
  for f in "$work"/artifacts/*; do [ -e "$f" ] && { echo "input: $f"; od -c "$f" | head -20; }; done
  exit $status
}
tail -n 12 "$work/log"
