#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ (or $ZORV_ASAN_BUILD_DIR) and runs every test there. Any
# report fails the test that triggered it.
#
#   tools/sanitize.sh [ctest options...]
# CC/CXX choose the compiler (gcc by default; CXX=clang++ works too).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZORV_ASAN_BUILD_DIR:-$root/build-asan}"

# gcc's flow analysis under the sanitizers reports variables as maybe
# uninitialized that are not (the plain build keeps the warning).
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
[[ "${CXX:-g++}" == *clang* ]] || flags+=" -Wno-maybe-uninitialized"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORV_FUZZ_SECONDS=0 \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
fi
nice cmake --build "$build" --target zorvcore -j "$(nproc)"
nice cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
cd "$build"
nice ctest --output-on-failure -j "$(nproc)" -LE fuzz "$@"
