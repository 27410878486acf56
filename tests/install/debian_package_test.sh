#!/usr/bin/env bash
# Builds the Debian package from the build tree as README says (cpack -G DEB),
# under umask 000 so that every mode in it is one the build sets; has lintian
# check it with --pedantic; checks what lintian does not (no maintainer
# scripts, every file's mode, no .comment section, a changelog dated as its
# source); unpacks it into a temporary root and runs the programs from there:
# the drawing module must be found beside the unpacked program, not in the
# build tree.
set -euo pipefail
build_dir="$1"
version="$2"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(umask 000 && cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/quorvane_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$work/out")"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
# dpkg-shlibdeps found the libraries the programs link; libzip and libmdb,
# loaded by name, were added from their own packages.
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libc6 libqt6core6 libqt6widgets6 libsqlite3-0 libmdb libzip; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

# Nothing to run when it is installed or removed: the control part holds
# only the control file and the checksums.
control="$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -vx "./" | sort | tr "\n" " ")"
[ "$control" = "./control ./md5sums " ] || fail "control part: $control"

# Folders and programs 0755, every other file 0644, whatever the umask.
while read -r mode name; do
  case "$mode:$name" in
    d*) want=drwxr-xr-x ;;
    *:./usr/bin/*) want=-rwxr-xr-x ;;
    *:./usr/lib/quorvane/*.so) want=-rw-r--r-- ;;
    *) want=-rw-r--r-- ;;
  esac
  [ "$mode" = "$want" ] || fail "$name is $mode, not $want"
done < <(dpkg-deb -c "$deb" | awk '{print $1, $6}')

# lintian cannot tell a build without fortified functions from one where no
# call needs a check, so the compile commands say: every program source is
# compiled with them (where the compiler optimises, as they need).
if ! grep -qx "CMAKE_BUILD_TYPE:STRING=Debug" "$build_dir/CMakeCache.txt"; then
  unfortified="$(grep '"command"' "$build_dir/compile_commands.json" | grep "/src/" | grep -vc -- "-D_FORTIFY_SOURCE=2")" ||
    true
  [ "$unfortified" = 0 ] || fail "$unfortified program sources compiled without -D_FORTIFY_SOURCE=2"
fi

# lintian --pedantic, info tags included: no tag but the ones README
# explains. A spelling error may only be in bytes that are not our text (the
# help compressed into the program): its word is nowhere in the source.
explained="hardening-no-fortify-functions spelling-error-in-binary"
report="$(lintian --pedantic -E -I "$deb" 2>&1)" || true
tags="$(awk '/^[EWIPX]: / {print $3}' <<<"$report" | sort -u | grep -vxF -f <(tr ' ' '\n' <<<"$explained") || true)"
[ -z "$tags" ] || { echo "$report"; fail "lintian: $(echo $tags)"; }
while read -r word; do
  ! grep -rqwI -- "$word" "$source_dir/src" "$source_dir/docs/help" || fail "misspelt in the source: $word"
done < <(awk '$3 == "spelling-error-in-binary" {print $4}' <<<"$report")

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

for binary in usr/bin/quorvane usr/bin/quorvane-cli usr/lib/quorvane/libquorvane-draw.so; do
  ! readelf -S "$root/$binary" | grep -qF " .comment " || fail "/$binary keeps its .comment section"
done
grep -qx "Index: /usr/share/doc/quorvane/html/index.html" "$root/usr/share/doc-base/quorvane" ||
  fail "the help is not registered with doc-base"

# The changelog is dated as its source: SOURCE_DATE_EPOCH, else the last
# commit; made twice, it is the same file.
changelog() {
  cmake "-DSOURCE_DIR=$source_dir" "-DOUTPUT=$work/$1/changelog" -DVERSION=$version -DMAINTAINER=M \
    -DGIT="$(command -v git || true)" -DGZIP=gzip -P "$source_dir/packaging/make_changelog.cmake"
}
mkdir "$work/a" "$work/b" "$work/c"
SOURCE_DATE_EPOCH=86400 changelog a
grep -q " -- M  Fri, 02 Jan 1970 00:00:00 +0000$" "$work/a/changelog" || fail "dated $(tail -1 "$work/a/changelog")"
changelog b && sleep 1 && changelog c
cmp -s "$work/b/changelog.gz" "$work/c/changelog.gz" || fail "two changelogs of one source differ"
if commit="$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null)"; then
  grep -q "  $(LC_ALL=C date -u -d "@$commit" '+%a, %d %b %Y %H:%M:%S +0000')$" "$work/b/changelog" ||
    fail "not dated as the last commit: $(tail -1 "$work/b/changelog")"
fi

cli="$root/usr/bin/quorvane-cli"
[ "$("$cli" --version)" = "quorvane-cli $version" ] || fail "--version says $("$cli" --version)"
"$cli" sample "$work/rounds" --auction 3 --rounds 2 --licenses 6 --bidders 3 >/dev/null || fail "sample"
"$cli" --app-dir "$work/app" --yes batch "$work/rounds/03_001.zip" >/dev/null 2>&1 || fail "batch"
"$cli" print "$work/app/Auction3.mdb" "All Bids" 2 -o "$work/bids.pdf" >/dev/null || fail "print"
# The Jet reader's library is loaded when the first Jet round is read.
"$cli" --app-dir "$work/jet" --yes batch "$(dirname "$0")/../fixtures/jet-rounds/12_001.zip" >/dev/null 2>&1 ||
  fail "batch of the Jet rounds"
[ "$(head -c 4 "$work/bids.pdf")" = "%PDF" ] || fail "print wrote no PDF"
echo "package built, clean of lintian tags, and runs unpacked"
