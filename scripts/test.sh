#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
# The fuzz corpus under ASan and UBSan first, where clang is there (KESTROVA_FUZZ_REPLAY=0 skips it),
# so that the closing lines are those of the whole suite.
if [ "${KESTROVA_FUZZ_REPLAY:-1}" != 0 ] && command -v clang++ >/dev/null; then
  KESTROVA_FUZZ_JOBS=$(nproc) scripts/fuzz.sh replay
fi
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
