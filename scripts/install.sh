#!/usr/bin/env bash
# Installs what Quorvane needs on Debian 12 when it is missing, then configures
# and builds. Used by both README commands and by CI.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config git qt6-base-dev qt6-base-dev-tools libgl-dev
          libsqlite3-dev sqlite3 libzip-dev mdbtools mdbtools-dev libgtest-dev googletest
          xvfb xauth fonts-dejavu-core libreoffice-calc-nogui)
# The tests check the installed desktop entry with desktop-file-validate.
packages+=(desktop-file-utils)
# The workbook window's charts and pivot --chart (SVG through Qt Svg).
packages+=(qt6-charts-dev qt6-svg-dev)
# The PDF tests read pages back with pdfinfo and pdftotext.
packages+=(poppler-utils)
# The round report's tests look at it in chromium (headless) and validate its
# HTML with html5lib (for Debian's python3) and tidy.
packages+=(chromium python3-html5lib tidy)
# The Debian package's test: cpack finds the programs' libraries with file and
# dpkg-shlibdeps, lintian checks the package, man renders the manual pages.
packages+=(file dpkg-dev lintian man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi

build_dir="${QUORVANE_BUILD_DIR:-build}"
# QUORVANE_CMAKE_ARGS: further configure options (CI makes warnings errors).
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${QUORVANE_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
