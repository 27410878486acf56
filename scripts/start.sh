#!/usr/bin/env bash
# Sets up Quorvane on Debian 12 and starts it: installs what the two programs
# need and builds them alone (no tests). The first time, it also writes a
# generated sample auction into the Downloads folder, ready to batch-import.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install.sh programs
build_dir="${QUORVANE_BUILD_DIR:-build}"

# Installs both programs, the desktop entry and the icon for this user, so
# Quorvane is in the application menu and quorvane-cli in ~/.local/bin.
cmake --install "$build_dir" --prefix "$HOME/.local" >/dev/null
command -v update-desktop-database >/dev/null && update-desktop-database -q "$HOME/.local/share/applications" || true
command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$HOME/.local/share/icons/hicolor" || true

downloads="$(xdg-user-dir DOWNLOAD 2>/dev/null || true)"
[ -n "$downloads" ] && [ "$downloads" != "$HOME" ] || downloads="$HOME/Downloads"
sample="$downloads/quorvane-sample"
if [ ! -f "$sample/05_001.zip" ]; then
  mkdir -p "$sample"
  "$build_dir/src/cli/quorvane-cli" sample "$sample" --auction 5 --rounds 12 --licenses 120 --bidders 16
fi
echo "Sample auction 5: $sample (choose 'Batch Import a New Auction', then 05_001.zip)"
exec "$build_dir/src/shell/quorvane" "$@"
