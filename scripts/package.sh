#!/usr/bin/env bash
# Builds the Debian package liedkram_<version>_<arch>.deb: a Release build
# with Debian's hardening flags into BUILD_DIR (default build-pkg/), then
# CPack. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-pkg}

scripts/install-packages.sh
buildflag() {
  DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"
}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLIEDKRAM_TESTS=OFF -DLIEDKRAM_BENCH=OFF \
  -DLIEDKRAM_SANITIZE=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(buildflag CPPFLAGS) $(buildflag CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(buildflag LDFLAGS)"
cmake --build "$build"
rm -f "$build"/liedkram_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/liedkram_*.deb
