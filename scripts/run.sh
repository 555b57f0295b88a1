#!/usr/bin/env bash
# Builds the configurator in Release and starts it from its program folder (build/release/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake --preset release
cmake --build --preset release --target Fabricor_EtherNetIP_Master
exec ./build/release/bin/Fabricor_EtherNetIP_Master "$@"
