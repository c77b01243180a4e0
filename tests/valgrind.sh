#!/usr/bin/env bash
# Runs the game under valgrind's memcheck: one winning game and one game
# stopped by run-time error 106 (an answer that is not a number), each with
# a name too long for the string's inline storage, so the name lives on the
# heap.  Fails on any memory error, on any leak (definite, indirect or
# possible), and on an exit status other than the game's own.  Memory still
# reachable at the exit is no leak.  No suppressions are used.
#
#   tests/valgrind.sh BINARY
set -euo pipefail
binary=${1:?usage: tests/valgrind.sh BINARY}
examples=$(cd "$(dirname "$0")/../examples" && pwd)
if ! readelf -l "$binary" | grep -q 'Requesting program interpreter'; then
  # In a static executable valgrind cannot replace malloc and free, sees no
  # heap, and takes the C library's own start-up for uninitialised reads.
  echo "$binary is statically linked: build it with -DIGRA_STATIC=OFF for memcheck" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

name="Ivan Asenov Petrov Dragomirov"
# The winning game, and the same game with its first answer made "abc".
sed "1s/.*/$name/" "$examples/win.txt" >"$work/win.txt"
awk -v name="$name" 'NR == 1 { print name; next }
  !done && /^[0-9]/ { print "abc"; done = 1; next } { print }' \
  "$examples/win.txt" >"$work/not-a-number.txt"

failed=0
check() {  # check INPUT-FILE EXPECTED-STATUS
  local input=$1 expected=$2 status=0
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --show-leak-kinds=definite,indirect,possible \
    --errors-for-leak-kinds=definite,indirect,possible \
    --track-origins=yes --log-file="$work/log" \
    "$binary" <"$input" >"$work/out" 2>"$work/err" || status=$?
  local verdict=ok
  if [ "$status" != "$expected" ] || [ -s "$work/err" ]; then
    verdict=FAILED
    failed=1
  fi
  echo "$verdict $(basename "$input"): exit status $status (expected $expected);" \
    "$(grep -E 'ERROR SUMMARY' "$work/log" | sed 's/^==[0-9]*== //')"
  grep -E 'in use at exit|definitely lost|indirectly lost|possibly lost' "$work/log" |
    sed 's/^==[0-9]*== /    /' || true
  if [ "$verdict" = FAILED ]; then
    cat "$work/log" "$work/err"
  fi
}
check "$work/win.txt" 0
check "$work/not-a-number.txt" 106
exit $failed
