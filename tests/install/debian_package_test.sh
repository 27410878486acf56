#!/usr/bin/env bash
# Builds the Debian package from the build tree as README says (cpack -G DEB),
# has lintian check it, unpacks it into a temporary root and runs the
# programs from there: the drawing module must be found beside the unpacked
# program, not in the build tree.
set -euo pipefail
build_dir="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/quorvane_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$work/out")"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
# dpkg-shlibdeps found the libraries the programs link; libzip and libmdb,
# loaded by name, were added from their own packages.
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6core6 libqt6widgets6 libsqlite3-0 libmdb libzip; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

# lintian's warnings are shown; an error fails the test.
status=0
report="$(lintian --fail-on error "$deb" 2>&1)" || status=$?
echo "lintian: ${report:-nothing to report}" | grep -v "running with root privileges" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/quorvane usr/bin/quorvane-cli usr/lib/quorvane/libquorvane-draw.so \
            usr/share/applications/quorvane.desktop usr/share/icons/hicolor/scalable/apps/quorvane.svg \
            usr/share/icons/hicolor/48x48/apps/quorvane.png usr/share/doc/quorvane/html/index.html \
            usr/share/doc/quorvane/html/command-line.html usr/share/doc/quorvane/copyright \
            usr/share/doc/quorvane/changelog.gz usr/share/man/man1/quorvane.1.gz \
            usr/share/man/man1/quorvane-cli.1.gz usr/share/bash-completion/completions/quorvane-cli; do
  [ -f "$root/$file" ] || fail "the package lacks /$file"
done
grep -qx 'Exec="/usr/bin/quorvane"' "$root/usr/share/applications/quorvane.desktop" ||
  fail "the desktop entry does not start /usr/bin/quorvane: $(grep Exec= "$root/usr/share/applications/quorvane.desktop")"

cli="$root/usr/bin/quorvane-cli"
[ "$("$cli" --version)" = "quorvane-cli $version" ] || fail "--version says $("$cli" --version)"
"$cli" sample "$work/rounds" --auction 3 --rounds 2 --licenses 6 --bidders 3 >/dev/null || fail "sample"
"$cli" --app-dir "$work/app" --yes batch "$work/rounds/03_001.zip" >/dev/null 2>&1 || fail "batch"
"$cli" print "$work/app/Auction3.mdb" "All Bids" 2 -o "$work/bids.pdf" >/dev/null || fail "print"
# The Jet reader's library is loaded when the first Jet round is read.
"$cli" --app-dir "$work/jet" --yes batch "$(dirname "$0")/../fixtures/jet-rounds/12_001.zip" >/dev/null 2>&1 ||
  fail "batch of the Jet rounds"
[ "$(head -c 4 "$work/bids.pdf")" = "%PDF" ] || fail "print wrote no PDF"
echo "package built, clean of lintian errors, and runs unpacked"
