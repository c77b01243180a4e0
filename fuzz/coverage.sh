#!/usr/bin/env bash
# Measures which lines of src/ the fuzz corpora reach: builds the fuzzers
# with Clang's source-based coverage (build/fuzz-coverage, no sanitizers),
# runs every input of the corpora once, and prints llvm-cov's report for the
# game's sources (tests excluded).
#
#   fuzz/coverage.sh [CORPUS-ROOT...]
#
# A corpus root holds one folder per target (parse_number/, game/); the
# default is the seed corpus fuzz/corpus and, when a fuzz run has left one,
# build/fuzz/corpus.  Needs clang++, llvm-profdata-14 and llvm-cov-14.
set -euo pipefail
cd "$(dirname "$0")/.."

roots=("$@")
if [ ${#roots[@]} -eq 0 ]; then
  roots=(fuzz/corpus)
  [ -d build/fuzz/corpus ] && roots+=(build/fuzz/corpus)
fi

build=build/fuzz-coverage
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
flags="-fprofile-instr-generate -fcoverage-mapping"
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIGRA_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" \
  --target fuzz_parse_number fuzz_game >/dev/null

profiles=$build/profiles
rm -rf "$profiles"
mkdir -p "$profiles"
for target in parse_number game; do
  dirs=()
  for root in "${roots[@]}"; do
    [ -d "$root/$target" ] && dirs+=("$root/$target")
  done
  # -runs=0: run the corpus inputs once each, no fuzzing.
  LLVM_PROFILE_FILE="$profiles/$target.profraw" \
    "$build/fuzz/fuzz_$target" -runs=0 "${dirs[@]}" 2>&1 | grep -E 'INITED|DONE' | tail -1
done
llvm-profdata-14 merge -sparse "$profiles"/*.profraw -o "$profiles/all.profdata"
llvm-cov-14 report "$build/fuzz/fuzz_game" -object "$build/fuzz/fuzz_parse_number" \
  -instr-profile="$profiles/all.profdata" \
  -ignore-filename-regex='(_test\.cc|/fuzz/|/usr/)' "$PWD/src"
