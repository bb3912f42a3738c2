#!/usr/bin/env bash
# Installs what the reader needs, builds it and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DLUSHENG_BUILD_TESTS=OFF -DLUSHENG_BUILD_BENCH=OFF
cmake --build "$root/build/release" --target lusheng-reader
exec "$root/build/release/app/lusheng-reader"
