#!/usr/bin/env bash
# Runs one fuzz target for a while on its seed corpus: scripts/fuzz.sh TARGET SECONDS
# (TARGET is the name before _fuzz.cpp in fuzz/). Builds it with the `fuzz` preset (clang,
# libFuzzer, AddressSanitizer and UBSan). Inputs that reach new code are kept in
# build/fuzz/corpus/TARGET/; finds (crash, leak, timeout over 2 s, sanitizer report) are written
# to build/fuzz/finds/TARGET/ and listed at the end.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
cd "$(dirname "$0")/.."
if [ ! -f "fuzz/${target}_fuzz.cpp" ]; then
  echo "no fuzz target fuzz/${target}_fuzz.cpp" >&2
  exit 2
fi
./scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${target}_fuzz" -j3

corpus="build/fuzz/corpus/${target}"
finds="build/fuzz/finds/${target}"
mkdir -p "$corpus" "$finds" "fuzz/corpus/${target}"
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
"build/fuzz/bin/${target}_fuzz" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$finds/" "$corpus" "fuzz/corpus/${target}" || status=$?

if compgen -G "$finds/*" >/dev/null; then
  echo
  echo "Finds of ${target} in $finds/:"
  ls -l "$finds"
  echo "Reproduce: build/fuzz/bin/${target}_fuzz FILE; shrink: build/fuzz/bin/${target}_fuzz -minimize_crash=1 -runs=20000 FILE."
  echo "Fix the reader, then keep the shrunken input in fuzz/corpus/${target}/."
fi
exit $status
