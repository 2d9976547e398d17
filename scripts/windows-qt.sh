#!/usr/bin/env bash
# Builds a static Qt Base for 64-bit Windows (Core, Gui, Widgets, Concurrent,
# Test and the windows and offscreen platform plugins) from Debian's source
# package with the MinGW-w64 compilers, against Debian's own Qt host tools
# (moc, rcc, uic from qt6-base-dev-tools). Everything goes into a cache folder
# outside the checkout and is built only once per machine: a module leaves a
# stamp when it is installed, and an interrupted build resumes where it stopped.
# The stamp holds a digest of what the build depends on here (the toolchain
# file with its compiler flags, the source version, the options), so that a
# cached Qt built otherwise is built again from a clean build folder.
# Without: Qt Charts (Debian's archive serves no source of qt6-charts 6.4.2),
# and Qt Multimedia, which needs Qt Network and the shader tools' qsb on top;
# Network, Xml, OpenGL, Sql and PrintSupport are left out too, to keep the
# first build short on two shared cores. The program draws its curves and
# plays its sounds without them (see CurvePlot and QtServices).
#   VORLANE_WINDOWS_CACHE  the cache folder (default ~/.cache/vorlane-windows)
#   VORLANE_QT_JOBS        parallel compile jobs (default: the number of cores)
# Prints nothing but progress; the build logs are <cache>/logs/*.log.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${VORLANE_WINDOWS_CACHE:-$HOME/.cache/vorlane-windows}
prefix=$cache/qt6-mingw
jobs=${VORLANE_QT_JOBS:-$(nproc)}
toolchain=$here/cmake/mingw-w64-x86_64.cmake
mkdir -p "$cache/src" "$cache/logs" "$prefix"

# The sources: Debian's packages of the same Qt version as the host tools.
# source_dir PACKAGE: prints the unpacked source folder, fetching it first when missing.
source_dir() {
  local pkg=$1
  if ! ls -d "$cache/src/$pkg"-*/ >/dev/null 2>&1; then
    echo "-- Qt for Windows: fetching the source of $pkg" >&2
    (cd "$cache/src" && apt-get source -qq "$pkg" >"$cache/logs/source-$pkg.log" 2>&1) || {
      echo "apt-get source $pkg failed (is there a deb-src entry?), see $cache/logs/source-$pkg.log" >&2
      exit 1
    }
  fi
  ls -d "$cache/src/$pkg"-*/ | head -n 1
}

# build_module NAME SOURCE-PACKAGE [cmake options...]
build_module() {
  local name=$1 pkg=$2; shift 2
  local stamp=$prefix/.built-$name
  local src
  src=$(source_dir "$pkg")
  local digest
  digest=$( { basename "$src"; printf '%s\n' "$@"; cat "$toolchain"; } | sha256sum | cut -d' ' -f1)
  [ "$(cat "$stamp" 2>/dev/null)" = "$digest" ] && return 0
  local build=$cache/build-$name log=$cache/logs/$name.log
  # A build folder configured otherwise keeps its old flags in its cache: start afresh.
  if [ -d "$build" ] && [ "$(cat "$build/.vorlane-digest" 2>/dev/null)" != "$digest" ]; then
    echo "-- Qt for Windows: $name was built otherwise, building it again"
    rm -rf "$build" "$stamp"
  fi
  mkdir -p "$build"
  echo "$digest" >"$build/.vorlane-digest"
  echo "-- Qt for Windows: building $name (log: $log)"
  local start=$SECONDS
  {
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" &&
    nice -n 5 cmake --build "$build" -j "$jobs" &&
    cmake --install "$build"
  } >"$log" 2>&1 || { echo "building $name failed, see $log" >&2; tail -n 30 "$log" >&2; exit 1; }
  echo "$digest" >"$stamp"
  echo "-- Qt for Windows: $name built in $((SECONDS - start)) s"
}

build_module qtbase qt6-base \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
