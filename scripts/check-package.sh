#!/usr/bin/env bash
# Builds the Debian package, inspects it, installs it on this machine and starts the installed
# programs on a fresh data folder, as a new desk would. Needs root (or sudo) for the install;
# the package is removed again at the end.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi

deb=$("$root/scripts/package.sh" | tail -n 1)
echo "check-package: $deb"

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/bryx-host ./usr/bin/bryx-db ./usr/bin/bryx-find \
  ./usr/lib/x86_64-linux-gnu/bryx/libBRYX_ScientificName.so.2 \
  ./usr/share/bryx-host/help/index.html ./usr/share/applications/bryx-host.desktop \
  ./usr/share/icons/hicolor/scalable/apps/bryx-host.svg \
  ./usr/share/metainfo/org.bryx.scientificname.metainfo.xml \
  ./usr/share/man/man1/bryx-host.1.gz ./usr/share/man/man1/bryx-db.1.gz ./usr/share/man/man1/bryx-find.1.gz \
  ./usr/share/doc/bryx/copyright; do
  grep -q -- " $path\( ->\|$\)" <<<"$contents" || { echo "check-package: the package lacks $path" >&2; exit 1; }
done
echo "check-package: depends on $(dpkg-deb -f "$deb" Depends)"

lintian --fail-on error "$deb"
echo "check-package: lintian finds no error"

# A desk that never ran it: no data folder yet, so the first start creates the sample database.
home=$(mktemp -d /tmp/bryx-installed.XXXXXX)
trap '"${sudo_cmd[@]}" apt-get remove -y -qq bryx >/dev/null || true; rm -rf "$home"' EXIT
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$deb" >/dev/null

desktop-file-validate /usr/share/applications/bryx-host.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.bryx.scientificname.metainfo.xml
man -w bryx-db >/dev/null

export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run"
mkdir -m 700 "$home/run"
cd "$home"
/usr/bin/bryx-host --version
shown=$(env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x900x24" \
  /usr/bin/bryx-host --details 3 --screenshot "$home/details.png" 2>&1)
echo "$shown"
grep -q "name 3 (Abies grandis) in a details window" <<<"$shown" ||
  { echo "check-package: the installed bryx-host did not show the sample's name 3" >&2; exit 1; }
[[ -f "$XDG_DATA_HOME/bryx/bryx.sqlite" ]] || { echo "check-package: no database was created" >&2; exit 1; }
size=$(stat -c %s "$home/details.png")
head -c 8 "$home/details.png" | cmp -s - <(printf '\x89PNG\r\n\x1a\n') && ((size > 10000)) ||
  { echo "check-package: the installed bryx-host drew no picture ($size bytes)" >&2; exit 1; }
/usr/bin/bryx-db check
/usr/bin/bryx-find --text grandis | grep -q "Abies grandis" ||
  { echo "check-package: the installed bryx-find did not find Abies grandis" >&2; exit 1; }
echo "check-package: the installed programs run"
