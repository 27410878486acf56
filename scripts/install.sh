#!/usr/bin/env bash
# Installs the Debian 12 packages Quorvane needs when they are missing, then
# configures and builds, into build/ (or $QUORVANE_BUILD_DIR), as Release.
#   install.sh programs  what the two programs need to build and run, and
#                        the programs alone (the start command);
#   install.sh tests     the test tools too, and every test and benchmark
#                        (the test command).
# Without root, and without sudo to become it, it prints the apt-get line an
# administrator can run and stops with exit code 1.
set -euo pipefail
cd "$(dirname "$0")/.."
what="${1:-}"
[ "$what" = programs ] || [ "$what" = tests ] || { echo "usage: $0 programs|tests" >&2; exit 2; }

# What the two programs need to build and run (build-essential brings
# dpkg-shlibdeps, which cpack uses to make the Debian package).
packages=(build-essential cmake pkg-config git qt6-base-dev qt6-base-dev-tools libgl-dev
          libsqlite3-dev libzip-dev mdbtools-dev qt6-charts-dev qt6-svg-dev fonts-dejavu-core)
if [ "$what" = tests ]; then
  packages+=(libgtest-dev googletest sqlite3 mdbtools xvfb xauth)
  # LibreOffice Calc opens the workbooks the pivot analyses write.
  packages+=(libreoffice-calc-nogui)
  # The installed desktop entry is checked with desktop-file-validate.
  packages+=(desktop-file-utils)
  # The PDF tests read pages back with pdfinfo and pdftotext.
  packages+=(poppler-utils)
  # The round report is looked at in chromium (headless) and its HTML
  # validated with html5lib (for Debian's python3) and tidy.
  packages+=(chromium python3-html5lib tidy)
  # The Debian package is checked by lintian; man renders the manual pages.
  packages+=(lintian man-db)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    # sudo without a password, or with one typed at this terminal.
    if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || { [ -t 0 ] && sudo -v; }; }; then
      as_root=(sudo)
    else
      echo "Quorvane needs Debian packages that are not installed, and installing them needs root." >&2
      echo "Ask an administrator to run this line as root, then run this command again:" >&2
      echo "apt-get install ${missing[*]}"
      exit 1
    fi
  fi
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

build_dir="${QUORVANE_BUILD_DIR:-build}"
tests=OFF
[ "$what" = tests ] && tests=ON
# QUORVANE_CMAKE_ARGS: further configure options (CI makes warnings errors).
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DQUORVANE_BUILD_TESTS=$tests \
  ${QUORVANE_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
