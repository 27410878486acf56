#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what the desktop needs:
# both programs, a valid desktop entry that starts the installed program, the
# icon in every size of the hicolor theme, the manual pages and the bash
# completion, each with its mode whatever the umask; and that the desktop
# program answers --help without a display.
set -euo pipefail
build_dir="$1"
top="$(mktemp -d)"
trap 'rm -rf "$top"' EXIT
prefix="$top/usr"

# Under umask 000, so that every mode is one the install sets (the prefix
# folder too).
(umask 000 && cmake --install "$build_dir" --prefix "$prefix" >/dev/null)
fail() { echo "FAIL: $*"; exit 1; }
# Folders and programs 0755, every other file 0644.
while read -r mode path; do
  case "$mode:$path" in
    d*) want=drwxr-xr-x ;;
    *:"$prefix/bin/"*) want=-rwxr-xr-x ;;
    *) want=-rw-r--r-- ;;
  esac
  [ "$mode" = "$want" ] || fail "$path is $mode, not $want"
done < <(find "$prefix" -printf '%M %p\n')

for program in quorvane quorvane-cli; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not installed"
done
entry="$prefix/share/applications/quorvane.desktop"
[ -f "$entry" ] || fail "no desktop entry"
desktop-file-validate "$entry" || fail "desktop-file-validate"
grep -qx "Exec=\"$prefix/bin/quorvane\"" "$entry" || fail "Exec does not name the installed program: $(grep Exec= "$entry")"
grep -qx "Icon=quorvane" "$entry" || fail "no icon named"
[ -f "$prefix/share/icons/hicolor/scalable/apps/quorvane.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/quorvane.png"
  [ -f "$png" ] || fail "no ${size}px icon"
  # The PNG header's width and height.
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "${size}px icon is ${width}x${height}"
done
for file in share/man/man1/quorvane.1.gz share/man/man1/quorvane-cli.1.gz \
            share/bash-completion/completions/quorvane-cli share/doc/quorvane/html/index.html; do
  [ -f "$prefix/$file" ] || fail "no $file"
done
# doc-base reads only /usr: nothing for it elsewhere.
[ ! -e "$prefix/share/doc-base" ] || fail "a doc-base entry outside /usr"
"$prefix/bin/quorvane-cli" --help | grep -q "watch DB" || fail "installed quorvane-cli does not run"
help="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/quorvane" --help)" ||
  fail "quorvane --help fails without a display"
[[ "$help" == "Usage: quorvane"* ]] || fail "quorvane --help prints: $help"
[[ "$("$prefix/bin/quorvane" --version)" == "quorvane "[0-9]* ]] || fail "quorvane --version"
status=0
QT_QPA_PLATFORM=offscreen "$prefix/bin/quorvane" --colour >/dev/null 2>"$prefix/err" || status=$?
[ "$status" -eq 2 ] && grep -q "^Usage: quorvane" "$prefix/err" || fail "quorvane --colour: exit $status"
echo "installed and valid"
