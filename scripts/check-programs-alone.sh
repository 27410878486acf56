#!/usr/bin/env bash
# Fails unless the build folder given (by default build/) was configured with
# the tests off and holds the two programs and the drawing module, built, and
# nothing of the tests: no test tool looked for, no test or benchmark target,
# no test for CTest. CI runs it on a fresh clone after the start command's
# build (a folder once configured with the tests on keeps their files).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
fail() { echo "FAIL: $*" >&2; exit 1; }

grep -qx "QUORVANE_BUILD_TESTS:BOOL=OFF" "$build_dir/CMakeCache.txt" || fail "configured with the tests on"
! grep -qi "^GTest_DIR\|^GTEST_" "$build_dir/CMakeCache.txt" || fail "GoogleTest was looked for"
targets="$(cmake --build "$build_dir" --target help)"
for target in quorvane quorvane-cli quorvane-draw; do
  grep -qw -- "$target" <<<"$targets" || fail "no target $target"
done
! grep -E -- "_tests|bench_|qv_test_support" <<<"$targets" || fail "test or benchmark targets"
for file in src/shell/quorvane src/cli/quorvane-cli src/cli/libquorvane-draw.so; do
  [ -f "$build_dir/$file" ] || fail "$file was not built"
done
[ ! -e "$build_dir/tests" ] && [ ! -e "$build_dir/bench" ] || fail "the tests' folders were made"
"$build_dir/src/cli/quorvane-cli" --version >/dev/null || fail "quorvane-cli does not run"
echo "the programs alone, built with the tests off"
