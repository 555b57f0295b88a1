#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UBSan and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
# Precompiled headers stay cacheable.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
cmake --preset asan
cmake --build --preset asan
results=build/asan/test-results
rm -rf "$results"
mkdir -p "$results"
status=0
ctest --preset asan -j "$(nproc)" --output-junit "$PWD/$results/ctest.xml" || status=$?
python3 scripts/test-summary.py "$results/ctest.xml" "$results"
exit $status
