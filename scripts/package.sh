#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the programs for an installation under /usr and makes
# their Debian package; the package's path is the last line printed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BRYX_PACKAGE_BUILD_DIR:-$root/build/package}"

"$root/scripts/setup.sh" --packaging

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBRYX_BUILD_TESTS=OFF -DBRYX_BUILD_BENCH=OFF -DBRYX_BUILD_MANPAGES=ON
cmake --build "$build" --parallel "$(nproc)"
rm -f "$build"/bryx_*.deb
(cd "$build" && cpack -G DEB) >&2
ls "$build"/bryx_*.deb
