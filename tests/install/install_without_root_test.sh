#!/usr/bin/env bash
# The README commands' set-up when a package is missing: a user who cannot
# become root (no sudo, or sudo wanting a password no one can type) is given
# the one apt-get line to hand an administrator, and the command stops with
# exit code 1 before installing or building anything; with sudo, the package
# is installed through it. dpkg-query, id, sudo, apt-get and cmake are
# stand-ins on the PATH, so nothing is installed or built for real.
set -euo pipefail
source_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

fake="$work/bin"
mkdir "$fake"
# Every package is installed but the ones named in MISSING.
cat >"$fake/dpkg-query" <<'STUB'
#!/usr/bin/env bash
for name in $MISSING; do [ "${!#}" = "$name" ] && exit 1; done
printf 'install ok installed'
STUB
printf '#!/bin/sh\n[ "$1" = -u ] && echo 1000 && exit 0\nexec /usr/bin/id "$@"\n' >"$fake/id"
for program in apt-get cmake; do
  printf '#!/bin/sh\necho "%s $*" >>"$CALLS"\n' "$program" >"$fake/$program"
done
chmod +x "$fake"/*
run() { # sudo's stand-in, then the set of packages
  cp "$1" "$fake/sudo" && chmod +x "$fake/sudo"
  : >"$work/calls"
  status=0
  CALLS="$work/calls" PATH="$fake:$PATH" bash "$source_dir/scripts/install.sh" "$2" \
    </dev/null >"$work/out" 2>"$work/err" || status=$?
}

printf '#!/bin/sh\necho "sudo: a password is required" >&2\nexit 1\n' >"$work/sudo-password"
export MISSING="qt6-svg-dev lintian"
run "$work/sudo-password" programs
[ "$status" -eq 1 ] || fail "programs without sudo: exit $status"
[ "$(cat "$work/out")" = "apt-get install qt6-svg-dev" ] || fail "programs without sudo printed: $(cat "$work/out")"
grep -q "needs root" "$work/err" || fail "no reason given: $(cat "$work/err")"
[ ! -s "$work/calls" ] || fail "went on without the packages: $(cat "$work/calls")"

# The test command's line names the test tools missing too.
run "$work/sudo-password" tests
[ "$status" -eq 1 ] && [ "$(cat "$work/out")" = "apt-get install qt6-svg-dev lintian" ] ||
  fail "tests without sudo: exit $status, printed $(cat "$work/out")"

# sudo that works installs the missing packages, without a question (sudo
# passes on no environment variable, as the real one by default).
printf '#!/bin/sh\n[ "$1" = -n ] && shift\n[ "$1" = true ] && exit 0\nexec env -i PATH="$PATH" CALLS="$CALLS" "$@"\n' \
  >"$work/sudo-works"
printf 'for v in DEBIAN_FRONTEND; do echo "env $v=$(printenv $v)" >>"$CALLS"; done\n' >>"$fake/apt-get"
run "$work/sudo-works" programs
[ "$status" -eq 0 ] || fail "with sudo: exit $status: $(cat "$work/err")"
grep -qx "apt-get install -y -q qt6-svg-dev" "$work/calls" || fail "with sudo: $(cat "$work/calls")"
grep -qx "env DEBIAN_FRONTEND=noninteractive" "$work/calls" || fail "apt-get may ask: $(cat "$work/calls")"
grep -q "^cmake .*-DQUORVANE_BUILD_TESTS=OFF" "$work/calls" || fail "not configured: $(cat "$work/calls")"
echo "without root the apt-get line is printed; with sudo the packages are installed"
