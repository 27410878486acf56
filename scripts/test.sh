#!/usr/bin/env bash
# Sets up, builds and runs every test: installs the test tools besides what
# the programs need, and builds the tests and benchmarks beside the programs
# (in the same build folder as the start command, so they are not built again).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install.sh tests
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${QUORVANE_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
