#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them against a private sound server.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
dir="$root/build/bench"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUSHENG_BUILD_APP=ON > /dev/null
cmake --build "$dir" --target speaking_latency reading_start
pulse="$dir/pulse"
"$root/tests/pulse-server.sh" start "$pulse"
trap '"$root/tests/pulse-server.sh" stop "$pulse"' EXIT
export PULSE_SERVER="unix:$pulse/native"

"$dir/bench/speaking_latency"
"$dir/bench/reading_start"
small=$("$dir/bench/speaking_latency" --memory 1000 | awk '{print $2}')
large=$("$dir/bench/speaking_latency" --memory 2500000 | awk '{print $2}')
echo "peak memory while speaking: 1 KB text ${small} KiB, 2.5 MB text ${large} KiB, difference $(( (large - small) / 1024 )) MiB"
