#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
