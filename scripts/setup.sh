#!/usr/bin/env bash
# Installs what building and testing kinweave! needs on a Debian 12 machine,
# when it is missing. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=()
command -v cmake >/dev/null 2>&1 || packages+=(cmake)
command -v g++ >/dev/null 2>&1 || packages+=(g++)
command -v make >/dev/null 2>&1 || packages+=(make)
[ -f /usr/include/gtest/gtest.h ] || packages+=(libgtest-dev)
if [ "${KINWEAVE_DESKTOP:-0}" = 1 ]; then
  [ -d /usr/include/x86_64-linux-gnu/qt6/QtWidgets ] || [ -d /usr/include/qt6/QtWidgets ] ||
    packages+=(qt6-base-dev)
  # A font, so that the dialog drawn offscreen (tests, render_dialog) shows its texts.
  [ -f /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf ] || packages+=(fonts-dejavu-core)
fi
if [ "${KINWEAVE_BROWSER:-0}" = 1 ]; then
  # Headless Chromium, so that the tests render the merge report as a
  # browser shows it.
  command -v chromium >/dev/null 2>&1 || packages+=(chromium)
fi
if [ "${KINWEAVE_FUZZ:-0}" = 1 ]; then
  # clang with its libFuzzer and sanitizer runtimes (scripts/fuzz.sh).
  command -v clang++ >/dev/null 2>&1 || packages+=(clang)
  runtime_dir=$(clang++ --print-runtime-dir 2>/dev/null || true)
  [ -n "$runtime_dir" ] && [ -f "$runtime_dir/libclang_rt.fuzzer-x86_64.a" ] ||
    packages+=(libclang-rt-14-dev)
fi

if [ ${#packages[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${packages[*]}" >&2
sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
