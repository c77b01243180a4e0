#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and
# UndefinedBehaviorSanitizer (build/fuzz, Clang) and runs each for a bounded
# time, starting from the seed corpus in fuzz/corpus/<target>.  Fails on any
# finding: a crash, a broken invariant, a sanitizer report, a leak, a hang.
#
#   fuzz/run.sh [SECONDS] [TARGET...]    default: 60 seconds, every target
#
# Inputs that reach new code are kept in build/fuzz/corpus/<target>, so a
# later run goes on from there; an input that fails is written to
# build/fuzz/findings/ and replays with build/fuzz/fuzz/fuzz_<target> FILE.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(parse_number game)

build=build/fuzz
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIGRA_SANITIZE=ON -DIGRA_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" \
  --target "${targets[@]/#/fuzz_}"

# Tokens are at most 255 bytes in the game; a few kilobytes of input play
# every path of the game with names of any interesting length.
declare -A options=(
  [parse_number]="-max_len=512 -use_value_profile=1"
  [game]="-max_len=4096"
)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
mkdir -p "$build/findings"
failed=0
summary=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  log=$build/$target.log
  mkdir -p "$corpus"
  echo "== fuzz_$target for $seconds s"
  # shellcheck disable=SC2086  # the options are words
  if "$build/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
      ${options[$target]} -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
      >"$log" 2>&1; then
    verdict=ok
  else
    verdict=FAILED
    failed=1
    grep -v '^    #' "$log" | tail -40
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[bKM]+' "$log" | tail -1)
  summary+=("fuzz_$target: $verdict: ${runs:-?} executions in $seconds s; ${coverage:-no coverage figures}")
done
echo
printf '%s\n' "${summary[@]}"
exit $failed
