#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (windows offscreen).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh -DTOLVANE_BUILD_TESTS=ON -DTOLVANE_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 900
