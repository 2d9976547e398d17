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

# Options of the build in build/ that ./run and ./test share, so that either
# finds the other's build current: the shared headers precompiled, line tables
# only for debug information (stack traces keep their files and lines), and lld
# (when installed) linking the large GUI programs faster than the default linker.
VORLANE_FAST_BUILD=(-DVORLANE_PCH=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
command -v ld.lld >/dev/null && VORLANE_FAST_BUILD+=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)

# configure_only DIR [cmake options...]
configure_only() {
  local dir=$1; shift
  local launcher=()
  # A compiler cache, where one is installed, makes rebuilds of unchanged sources
  # free; it takes the precompiled headers into its hash (their defines and time
  # macros are the build's own).
  command -v ccache >/dev/null &&
    launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_SLOPPINESS=pch_defines,time_macros;ccache"
              -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
  configure_only "$@"
  cmake --build "$1" -j "$(nproc)"
}
