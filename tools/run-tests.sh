#!/usr/bin/env bash
# Builds every configuration and runs every test suite:
#   build/linux       native, the suites and the benchmarks
#   build/linux-asan  native under AddressSanitizer and UndefinedBehaviorSanitizer
#   build/fuzz        the libFuzzer targets over their seed corpora (clang)
#   build/win64       64-bit Windows (mingw-w64), the suites run under Wine
#   build/win32       32-bit Windows, the shipped build: compiled, not run
# Ends non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash tools/install-packages.sh $(cat tools/packages-build.txt tools/packages-windows.txt) || exit 1

jobs=$(nproc)
failed=()

step() {  # step NAME COMMAND...
  echo "==== $1"
  shift
  if ! "$@"; then failed+=("$1"); fi
}

configure_and_build() {  # DIR CMAKE-ARGS...
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs"
}

run_ctest() {  # DIR
  ctest --test-dir "$1" --output-on-failure -j "$jobs"
}

mkdir -p build
export WINEDEBUG=-all
export WINEPREFIX="$root/build/wineprefix"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy

if configure_and_build build/linux -DQUORVEL_BENCHMARKS=ON; then
  step "linux tests" run_ctest build/linux
else
  failed+=("linux build")
fi

if configure_and_build build/linux-asan -DQUORVEL_SANITIZE=ON -DQUORVEL_APP=OFF; then
  step "sanitizer tests" env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/linux-asan --output-on-failure -j "$jobs"
else
  failed+=("sanitizer build")
fi

# The fuzz targets (clang, libFuzzer) run once over each committed seed corpus.
if configure_and_build build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_APP=OFF; then
  step "fuzz corpora" run_ctest build/fuzz
else
  failed+=("fuzz build")
fi

if configure_and_build build/win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine; then
  [ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1
  step "windows tests under wine" run_ctest build/win64
else
  failed+=("win64 build")
fi

step "win32 build" configure_and_build build/win32 \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DQUORVEL_TESTS=OFF

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and test suites passed."
