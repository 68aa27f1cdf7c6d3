#!/usr/bin/env bash
# Runs the PostgreSQL tests of the game server against a cluster of its own: made in a fresh
# folder, listening on a Unix socket there and on a free loopback port, stopped and removed at
# the end however the tests end.
# usage: postgres_test.sh TEST-PROGRAM [ARGS...]
set -uo pipefail

missing() {
  # On a developer's machine a missing PostgreSQL skips the tests, loudly; CI must run them.
  echo "************************************************************" >&2
  echo "postgres_test.sh: $1" >&2
  echo "************************************************************" >&2
  if [ "${CI:-}" = "true" ]; then
    echo "postgres_test.sh: CI=true: this is a failure, not a skip (bash scripts/deps.sh installs postgresql)" >&2
    exit 1
  fi
  echo "postgres_test.sh: the PostgreSQL tests are SKIPPED" >&2
  exit 77
}

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] && [ -x "$bin/initdb" ] && [ -x "$bin/pg_ctl" ] || missing "PostgreSQL is not installed (Debian: postgresql)"
ls /usr/lib/*/qt6/plugins/sqldrivers/libqsqlpsql.so >/dev/null 2>&1 || missing "Qt's PostgreSQL driver is not installed (Debian: libqt6sql6-psql)"

# initdb refuses to run as root: the cluster then belongs to the user postgres.
as_owner=()
owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  id postgres >/dev/null 2>&1 || missing "there is no user postgres to own the cluster"
  as_owner=(runuser -u postgres --)
  owner=postgres
fi

dir=$(mktemp -d /tmp/tavrek-pg-XXXXXX)
chmod 755 "$dir"
mkdir "$dir/data"
chown "$owner" "$dir" "$dir/data"
cleanup() {
  (cd "$dir" && "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1)
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The cluster's programs run in its folder: the user postgres may not enter the caller's.
here=$PWD
cd "$dir" || exit 1
if ! "${as_owner[@]}" "$bin/initdb" -D "$dir/data" -U postgres --auth=trust --no-sync >"$dir/initdb.log" 2>&1; then
  cat "$dir/initdb.log" >&2
  missing "initdb could not make a cluster"
fi

# A free port: the socket's own name has it too; a port taken meanwhile makes the start fail,
# and another is tried.
started=0
for attempt in 1 2 3 4 5 6 7 8; do
  port=$((20000 + RANDOM % 30000))
  if "${as_owner[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
       -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null 2>&1; then
    started=1
    break
  fi
done
if [ "$started" -ne 1 ]; then
  cat "$dir/server.log" >&2
  missing "the PostgreSQL server did not start"
fi
"${as_owner[@]}" "$bin/createdb" -h "$dir" -p "$port" -U postgres tavrek || { cat "$dir/server.log" >&2; exit 1; }

cd "$here" || exit 1
export TAVREK_PG_SOCKET_URL="postgresql://postgres@localhost:$port/tavrek?host=$dir"
export TAVREK_PG_TCP_URL="postgresql://postgres@127.0.0.1:$port/tavrek"
export TAVREK_PG_PSQL="$bin/psql -X -q -h $dir -p $port -U postgres tavrek"
"$@"
status=$?
[ $status -ne 0 ] && tail -n 30 "$dir/server.log" >&2
exit $status
