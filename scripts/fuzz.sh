#!/usr/bin/env bash
# Fuzzing with clang's libFuzzer under ASan and UBSan, in its own build directory build-fuzz/.
#   scripts/fuzz.sh HARNESS SECONDS   a campaign of one harness (tests/fuzz/HARNESSFuzz.cpp);
#                                     new inputs go to build-fuzz/corpus/HARNESS, failing ones
#                                     to build-fuzz/findings/HARNESS (copy those into the corpus)
#   scripts/fuzz.sh replay            every corpus file through every harness, sanitized
set -euo pipefail
cd "$(dirname "$0")/.."
harnesses=$(sed -n 's/^set(harnesses \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt)
if [ $# -eq 0 ] || { [ "$1" != replay ] && [ $# -ne 2 ]; }; then
  echo "usage: scripts/fuzz.sh HARNESS SECONDS | scripts/fuzz.sh replay" >&2
  echo "harnesses: $harnesses" >&2
  exit 2
fi
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing (scripts/deps.sh installs it)" >&2
  exit 1
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKESTROVA_FUZZ=ON \
      "${launcher[@]}" >/dev/null
jobs=${KESTROVA_FUZZ_JOBS:-$(( $(nproc) < 4 ? $(nproc) : 4 ))}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# The harnesses' scratch files, removed at the end whatever way the run ends.
scratch=${TMPDIR:-/tmp}
[ -w /dev/shm ] && scratch=/dev/shm
KESTROVA_FUZZ_DIR=$(mktemp -d "$scratch/kestrova-fuzz.XXXXXX")
export KESTROVA_FUZZ_DIR
trap 'rm -rf "$KESTROVA_FUZZ_DIR"' EXIT
if [ "$1" = replay ]; then
  cmake --build build-fuzz -j"$jobs"
  cd build-fuzz
  ctest --output-on-failure -j"$jobs" -L fuzz
  exit
fi
case " $harnesses " in *" $1 "*) ;; *) echo "fuzz.sh: no harness '$1' (harnesses: $harnesses)" >&2; exit 2;; esac
cmake --build build-fuzz -j"$jobs" --target "fuzz_$1"
mkdir -p "build-fuzz/corpus/$1" "build-fuzz/findings/$1"
"build-fuzz/fuzz_$1" "build-fuzz/corpus/$1" tests/fuzz/corpus -max_total_time="$2" -timeout=20 -rss_limit_mb=2048 \
     -artifact_prefix="build-fuzz/findings/$1/" -print_final_stats=1
