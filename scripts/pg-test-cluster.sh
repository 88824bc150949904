#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL 15 cluster on 127.0.0.1 for the test suite.
#   scripts/pg-test-cluster.sh start DIR PORT   prints the environment tests connect with
#   scripts/pg-test-cluster.sh stop DIR
# The cluster is set up as a shared installation is: every connection over the network is
# authenticated with a password (SCRAM); the suite's administrator bryx_dba may create
# databases and roles but is no superuser, and the application's logins are ordinary users.
# The superuser's URL is printed only so that tests can prove the programs refuse it.
# Passwords come from a ~/.pgpass-style file the script writes (PGPASSFILE), as libpq reads it.
# The cluster runs as the unprivileged "postgres" user (or the caller when not root), with a
# UTF-8 locale so that upper() folds non-ASCII letters.
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
  password=$(head -c 18 /dev/urandom | base64 | tr -dc 'A-Za-z0-9')
  as_owner sh -c "umask 077 && printf '%s\n' '$password' >'$dir/superuser.pw'"
  as_owner "$bin/initdb" -D "$dir/data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
    --pwfile="$dir/superuser.pw" --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories='$dir' -c fsync=off" start >/dev/null
  as_owner "$bin/psql" -X -q -h "$dir" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE bryx_dba LOGIN CREATEDB CREATEROLE PASSWORD '$password'" \
    -c "GRANT pg_signal_backend TO bryx_dba" >/dev/null
  (umask 077 && printf '127.0.0.1:%s:*:*:%s\n' "$port" "$password" >"$dir/pgpass")
  echo "export BRYX_TEST_PG_URL=postgresql://bryx_dba@127.0.0.1:$port/postgres"
  echo "export BRYX_TEST_PG_SUPERUSER_URL=postgresql://postgres@127.0.0.1:$port/postgres"
  echo "export BRYX_TEST_PG_PASSWORD=$password"
  echo "export PGPASSFILE=$dir/pgpass"
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
