#!/usr/bin/env bash
# Installs what the tests need, then builds and runs the whole suite three times: a normal build
# with warnings as errors, an AddressSanitizer + UndefinedBehaviorSanitizer build, and a
# ThreadSanitizer build of everything that runs speech threads.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-deps.sh"

# The tests read voice descriptions in a known language and must not see the user's own voices.
export LANG=C.UTF-8 LC_ALL= LANGUAGE=
export XDG_DATA_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_DATA_HOME"' EXIT

build() { # dir, extra cmake arguments...
    local dir="$root/build/$1"; shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUSHENG_WERROR=ON \
          -DLUSHENG_BUILD_BENCH=OFF "$@" > /dev/null
    cmake --build "$dir"
}

echo "== normal build"
build test
ctest --test-dir "$root/build/test" --output-on-failure

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
build asan -DLUSHENG_SANITIZE=address,undefined
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$root/tools/lsan.supp" ctest --test-dir "$root/build/asan" --output-on-failure

echo "== ThreadSanitizer (speech threads)"
build tsan -DLUSHENG_SANITIZE=thread -DLUSHENG_BUILD_APP=OFF
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tools/tsan.supp" \
    ctest --test-dir "$root/build/tsan" --output-on-failure -L "engine|audio"

echo "== all test builds passed"
