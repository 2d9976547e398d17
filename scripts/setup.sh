#!/usr/bin/env bash
# Shared set-up of ./run and ./test: installs the Debian packages that are
# missing (through sudo when not root) and configures and builds into build/.
set -euo pipefail

VORLANE_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
  libgtest-dev libbenchmark-dev nlohmann-json3-dev libmuparser-dev
  dpkg-dev file desktop-file-utils appstream shared-mime-info man-db lintian
)

install_missing_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  local dir=$1; shift
  local launcher=()
  # A compiler cache, where one is installed, makes rebuilds of unchanged sources free.
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
