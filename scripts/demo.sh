#!/usr/bin/env bash
# Sets up and builds kinweave!, then merges the two demo files of examples/
# (two researchers' trees of the Meier family) into out/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$jobs" --target kinweave-cli

out="$PWD/out/demo"
rm -rf "$out"
mkdir -p "$out"
cp examples/datei1.ged examples/datei2.ged "$out/"
build/release/kinweave-cli "$out/datei1.ged" "$out/datei2.ged" merge.ged
echo
echo "Ergebnis:  $out/merge.ged"
echo "Protokoll: $out/merge.log"
