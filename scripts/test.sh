#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${QUORVANE_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
