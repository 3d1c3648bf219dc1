#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for SECONDS
# (default 20), on a copy of its seed corpus. Fails when a target finds a
# crash, a hang, a leak or a broken property; the input that did it is kept
# in build/fuzz/findings/.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#
# KINWEAVE_FUZZ_JOBS=N runs each target as N processes side by side, which
# share its corpus (libFuzzer's -jobs and -workers): a campaign uses every
# core that way. Their logs are build/fuzz/logs/<target>/fuzz-<k>.log.
#
# The copies in build/fuzz/corpus/ keep what earlier runs found, so a longer
# campaign goes on from there. The real files of ../shared/testdata/real,
# when present, are extra seeds of the line input and the parser.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(line_input_fuzzer date_fuzzer parser_fuzzer tree_merge_fuzzer merge_run_fuzzer)
fi

KINWEAVE_FUZZ=1 bash scripts/setup.sh
build=build/fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKINWEAVE_FUZZ=ON -DKINWEAVE_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]}" >/dev/null

# The targets that write files do it below $TMPDIR: memory is faster than
# a disk when there is some.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
real_files=../shared/testdata/real
mkdir -p "$build/corpus" "$build/findings" "$build/logs"
jobs=${KINWEAVE_FUZZ_JOBS:-1}
root=$PWD
failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  seeds=()
  if [ -d "$real_files" ] && { [ "$target" = line_input_fuzzer ] || [ "$target" = parser_fuzzer ]; }; then
    seeds=("$real_files")
  fi
  # Inputs up to 4 KiB, 8 KiB for the parser and the whole run, whose seeds
  # are whole files (pairs of them): a longer input only costs time. The
  # targets that manage few inputs a second would take hours to reach that
  # length by libFuzzer's slow growth: they may use it from the start.
  max_len=4096
  case "$target" in parser_fuzzer | merge_run_fuzzer) max_len=8192 ;; esac
  options=(-max_total_time="$seconds" -timeout=60 -max_len="$max_len" -len_control=0
    -dict="$root/fuzz/gedcom.dict" -artifact_prefix="$root/$build/findings/$target-"
    -print_final_stats=1)
  echo "== $target: ${seconds} s, $jobs process(es)" >&2
  status=0
  if [ "$jobs" -gt 1 ]; then
    # libFuzzer writes each process's log as fuzz-<k>.log in the current
    # folder.
    logs="$build/logs/$target"
    rm -rf "$logs" && mkdir -p "$logs"
    (cd "$logs" && "$root/$build/fuzz/$target" -jobs="$jobs" -workers="$jobs" "${options[@]}" \
      "$root/$corpus" "${seeds[@]/#/$root/}" >driver.log 2>&1) || status=$?
    logfiles=("$logs"/fuzz-*.log)
  else
    logfiles=("$build/logs/$target.log")
    "$build/fuzz/$target" "${options[@]}" "$corpus" "${seeds[@]}" >"${logfiles[0]}" 2>&1 || status=$?
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::average_exec_per_sec' \
    "${logfiles[@]}" >&2 || true
  if [ "$status" -ne 0 ]; then
    echo "$target: finding (exit status $status), see ${logfiles[*]}" >&2
    grep -E 'ERROR|property broken|Test unit written' "${logfiles[@]}" >&2 || true
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "Findings in: ${failed[*]}" >&2
  exit 1
fi
echo "No finding in ${#targets[@]} targets of ${seconds} s each." >&2
