#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds bryx-host and starts it. Without --database it opens
# the embedded SQLite database in the user's data folder, created with the sample names on
# first start. Any arguments go to bryx-host (see bryx-host --help).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BRYX_BUILD_DIR:-$root/build/app}"

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRYX_BUILD_TESTS=OFF -DBRYX_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)" --target bryx-host bryx-db bryx-find

exec "$build/host/bryx-host" "$@"
