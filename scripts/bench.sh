#!/usr/bin/env bash
# Installs what is missing, builds the speed targets into build/ and runs each of them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_BENCH=ON >/dev/null
targets=()
for src in bench/*.cpp; do
  targets+=("bench_$(basename "$src" .cpp)")
done
cmake --build build -j"$(nproc)" --target "${targets[@]}"
for t in "${targets[@]}"; do
  echo "== $t"
  # The MB/s column is bytes handled per second of wall time, in millions of bytes.
  QT_QPA_PLATFORM=offscreen "build/$t" --benchmark_counters_tabular=true "$@"
done
