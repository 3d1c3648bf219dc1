#!/usr/bin/env bash
# Sets up and builds kinweave!, then loads two generated files and runs the
# merge pass over them. (The merged file itself comes with the export.)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINWEAVE_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs" --target gen_gedcom bench_kinweave

out="$PWD/out/demo"
mkdir -p "$out"
build/release/gen_gedcom --persons 2000 --seed 1 "$out/datei1.ged"
build/release/gen_gedcom --persons 2000 --seed 1 "$out/datei2.ged"
build/release/bench_kinweave "$out/datei1.ged" "$out/datei2.ged"
echo
echo "Log: $out/log"
