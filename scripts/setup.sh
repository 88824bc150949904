#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and benchmark; with
# --packaging also what making and checking the Debian package takes.
# Idempotent: asks apt only for what is missing, and runs `apt-get update` at most once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsqlite3-dev sqlite3
  libhunspell-dev hunspell-en-us
  libarchive-dev
  postgresql-15 postgresql-contrib libpq-dev
  xvfb xauth
  adwaita-icon-theme
)
if [[ "${1:-}" == "--packaging" ]]; then
  packages+=(dpkg-dev file fakeroot help2man lintian desktop-file-utils appstream man-db)
fi

missing=()
for pkg in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
