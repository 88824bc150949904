#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL 15 cluster on 127.0.0.1 for the test suite.
#   scripts/pg-test-cluster.sh start DIR PORT   prints the URL tests connect to
#   scripts/pg-test-cluster.sh stop DIR
# The cluster runs as the unprivileged "postgres" user (or the caller when not root), with a
# UTF-8 locale so that upper() folds non-ASCII letters, and trusts local connections only.
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
action=${1:?start or stop}
dir=${2:?cluster folder}

as_owner() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$action" in
start)
  port=${3:-55432}
  mkdir -p "$dir"
  [[ $(id -u) -eq 0 ]] && chown postgres:postgres "$dir"
  as_owner "$bin/initdb" -D "$dir/data" -U postgres --auth=trust --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories='$dir' -c fsync=off" start >/dev/null
  echo "postgresql://postgres@127.0.0.1:$port/postgres"
  ;;
stop)
  as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start DIR [PORT] | stop DIR" >&2
  exit 2
  ;;
esac
