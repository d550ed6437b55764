#!/usr/bin/env bash
# Set-up, build, and every test through CTest. Non-zero exit on any failure.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh "$@"
dir=build
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp
fi
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
