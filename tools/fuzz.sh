#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a number of
# executions, one after another, over its seed corpus in fuzz/corpus/<target>/.
#   tools/fuzz.sh [-r RUNS] [-b BUILD-DIR] [-m] [TARGET...]
#     -r RUNS       executions per target (default 1000000)
#     -b BUILD-DIR  where to build (default build/fuzz)
#     -m            afterwards merge the inputs that reached new code into the
#                   seed corpus (then look at what it added before committing)
#     TARGET        the targets to run (default: all of them)
# Environment: FUZZ_FLAGS, more libFuzzer flags (-max_len=1024); FUZZ_SANITIZERS,
# the sanitizers of the build (default address,undefined; "undefined" alone
# runs several times faster for long campaigns: replay their corpora after).
# New inputs go to BUILD-DIR/fuzz-work/<target>/, never into the seed corpus
# unless -m is given; an input that breaks a property or crashes is saved as
# BUILD-DIR/fuzz-artifacts/<target>-crash-*. Ends non-zero when a target fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=1000000
build=build/fuzz
merge=0
while getopts "r:b:m" option; do
  case $option in
    r) runs=$OPTARG ;;
    b) build=$OPTARG ;;
    m) merge=1 ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_APP=OFF \
  -DQUORVEL_FUZZ_SANITIZERS="${FUZZ_SANITIZERS:-address,undefined}" >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" || exit 1

failed=()
for target in "${targets[@]}"; do
  work="$build/fuzz-work/$target"
  seeds="fuzz/corpus/$target"
  mkdir -p "$work" "$build/fuzz-artifacts"
  echo "==== $target: $runs executions"
  # shellcheck disable=SC2086
  if nice -n 10 "$build/fuzz/$target" -runs="$runs" -timeout=25 -print_final_stats=1 ${FUZZ_FLAGS:-} \
      -artifact_prefix="$build/fuzz-artifacts/$target-" "$work" "$seeds" \
      >"$build/fuzz-work/$target.log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$build/fuzz-work/$target.log"
  else
    tail -n 40 "$build/fuzz-work/$target.log"
    failed+=("$target")
  fi
  if [ $merge -eq 1 ]; then
    "$build/fuzz/$target" -merge=1 "$seeds" "$work" >>"$build/fuzz-work/$target.log" 2>&1
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "No target found anything (executions per target: the Done lines above)."
