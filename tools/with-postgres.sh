#!/usr/bin/env bash
# Runs COMMAND... against a throwaway PostgreSQL cluster: initdb in a temporary folder owned by
# an unprivileged user, a server listening only on a Unix socket in that folder (trust
# authentication: nothing outside this machine can reach it), the connection settings exported
# for the command (PGHOST, PGPORT, PGUSER and PGDATABASE, which the *_pg tests read: CTest sets
# their ZORVA_TEST_PG=1), then the server stopped and the folder removed. Exits with the
# command's status.
set -euo pipefail
if [ $# -eq 0 ]; then
  echo "usage: tools/with-postgres.sh COMMAND..." >&2
  exit 2
fi
bin=${PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)}
if [ ! -x "$bin/initdb" ]; then
  echo "with-postgres.sh: PostgreSQL's initdb not found (apt-get install postgresql)" >&2
  exit 2
fi

# initdb refuses root: the cluster belongs to an unprivileged user then.
run_as=()
owner=$(id -un)
if [ "$(id -u)" = 0 ]; then
  owner=nobody
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
dir=$(mktemp -d /tmp/zorva-pg.XXXXXX)
chmod 755 "$dir"
chown "$owner" "$dir"
cleanup() {
  "${run_as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"${run_as[@]}" "$bin/initdb" -D "$dir/data" -U zorva -A trust -E UTF8 --locale=C >"$dir/initdb.log" 2>&1 ||
  { cat "$dir/initdb.log" >&2; exit 2; }
# A throwaway cluster: durability is not wanted, speed is.
# ZORVA_PG_EXTRA adds server settings (a bench sizes shared_buffers as a site's server would).
options="-c listen_addresses='' -c unix_socket_directories=$dir -c port=5432 -c fsync=off \
 -c synchronous_commit=off -c full_page_writes=off -c max_connections=200 ${ZORVA_PG_EXTRA:-}"
"${run_as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -o "$options" start >/dev/null ||
  { cat "$dir/server.log" >&2; exit 2; }

export PGHOST=$dir PGPORT=5432 PGUSER=zorva PGDATABASE=postgres
# For a test that stops and starts the server under the program (its data folder is
# $PGHOST/data): pg_ctl as the cluster's owner (words split on spaces), and the server's options.
export ZORVA_PG_CTL="${run_as[*]} $bin/pg_ctl" ZORVA_PG_OPTIONS="$options"
set +e
"$@"
status=$?
set -e
exit $status
