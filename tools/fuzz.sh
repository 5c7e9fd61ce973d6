#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang, ASan and UBSan in
# their own build folder and runs one of them on a copy of its seed corpus
# with its dictionary.
#
#   tools/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   tools/fuzz.sh --build-only            build the targets, run nothing
#   tools/fuzz.sh --no-build TARGET SECONDS   run a target already built
#
# TARGET is fuzz_dbase, fuzz_paradox, fuzz_filter, fuzz_text, fuzz_csv,
# fuzz_quakeml, fuzz_fdsn or fuzz_openquake. The build
# folder is build-fuzz/ (or $ZORV_FUZZ_BUILD_DIR); new inputs the run finds
# stay in its corpus/TARGET there, findings in its findings/. Exits 77 when
# clang or libFuzzer is not installed (tools/install-deps.sh brings them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${ZORV_FUZZ_BUILD_DIR:-$root/build-fuzz}")"

mode=run
case "${1:-}" in
  --build-only) mode=build; shift ;;
  --no-build) mode=norun-build; shift ;;
esac

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang++ not found, fuzzing skipped" >&2
  exit 77
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "fuzz.sh: libFuzzer not found (libclang-rt-dev), fuzzing skipped" >&2
  exit 77
fi

build_targets() {
  mkdir -p "$build"
  if [ ! -f "$build/build.ninja" ]; then
    local launcher=()
    command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORV_FUZZ=ON \
      "${launcher[@]}" \
      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
      -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  fi
  nice cmake --build "$build" --target fuzz_targets -j "$(nproc)"
}

if [ "$mode" = build ]; then
  build_targets
  exit 0
fi
[ "$mode" = run ] && build_targets

target="${1:?usage: tools/fuzz.sh TARGET SECONDS}"
seconds="${2:?usage: tools/fuzz.sh TARGET SECONDS}"
shift 2
exe="$build/tests/fuzz/$target"
[ -x "$exe" ] || { echo "fuzz.sh: $exe not built" >&2; exit 1; }

corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$corpus" "$findings"
seeds="$root/tests/fuzz/corpus/$target"
[ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
dict=()
[ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# The targets' scratch files, on tmpfs where there is one.
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm="${TMPDIR:-/tmp}"
ZORV_FUZZ_SCRATCH="$(mktemp -d "$shm/zorv-fuzz.XXXXXX")"
export ZORV_FUZZ_SCRATCH
trap 'rm -rf "$ZORV_FUZZ_SCRATCH"' EXIT
cd "$findings"
# A finding exits 1: libFuzzer's own 77 would read as "skipped" to ctest.
"$exe" -error_exitcode=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
  -artifact_prefix="$findings/" "${dict[@]}" "$@" "$corpus"
