#!/usr/bin/env bash
# Renders the picture of the demo report for the README (docs/report.png):
# merges the two demo files of examples/ in a temporary folder and lets
# headless Chromium take a screenshot of merge.html. Run by hand after a
# change of the report's look; a built kinweave-cli may be named as the
# argument, otherwise build/release is built.
#
#   bash scripts/report-picture.sh [KINWEAVE_CLI]
set -euo pipefail
cd "$(dirname "$0")/.."
KINWEAVE_BROWSER=1 bash scripts/setup.sh
cli=${1:-build/release/kinweave-cli}
if [ $# -eq 0 ]; then
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)" --target kinweave-cli
fi
cli=$(realpath "$cli")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/datei1.ged examples/datei2.ged "$work/"
(cd "$work" && "$cli" datei1.ged datei2.ged merge.ged >/dev/null 2>&1)
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --hide-scrollbars --window-size=1600,1000 \
  --screenshot="$PWD/docs/report.png" "file://$work/merge.html" 2>/dev/null
echo "docs/report.png"
