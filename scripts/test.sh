#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the library with sanitizers and runs every test headless,
# on SQLite and on a throwaway PostgreSQL cluster; checks the Debian package on the way.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${BRYX_BUILD_DIR:-$root/build/ci}"

"$root/scripts/setup.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRYX_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"

# The Debian package, installed and started as a new desk would.
"$root/scripts/check-package.sh"

# Database suites run on PostgreSQL too when a server is given; start one unless the caller did.
if [[ -z "${BRYX_TEST_PG_URL:-}" ]]; then
  cluster=$(mktemp -d /tmp/bryx-pg.XXXXXX)
  trap '"$root/scripts/pg-test-cluster.sh" stop "$cluster"' EXIT
  port=$((55000 + RANDOM % 1000))
  eval "$("$root/scripts/pg-test-cluster.sh" start "$cluster" "$port")"
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --label-exclude gallery "$@"
