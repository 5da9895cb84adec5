# A throwaway PostgreSQL server for the tests: its own data folder, 127.0.0.1 and a socket in that
# folder only, a free port, trust authentication for the local user "postgres". Source this file
# (after mariadb.sh, for free_port), then start_postgres / stop_postgres. initdb refuses root, so
# the cluster and its server run as the postgres user; the folder is theirs.
#   KORVEL_TEST_PG_URI  postgresql://postgres@127.0.0.1:PORT/postgres, for the tests

postgres_bin() {
  local bin
  for bin in /usr/lib/postgresql/*/bin; do
    [ -x "$bin/pg_ctl" ] && { echo "$bin"; return 0; }
  done
  echo "postgres: no server found under /usr/lib/postgresql (scripts/setup test installs it)" >&2
  return 1
}

# Runs a command as the postgres user when we are root, as ourselves otherwise.
as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=postgres --regid=postgres --init-groups "$@"
  else
    "$@"
  fi
}

start_postgres() {
  local bin
  bin=$(postgres_bin) || return 1
  POSTGRES_DIR=$(mktemp -d /tmp/korvel-postgres-XXXXXX)
  POSTGRES_PORT=$(free_port)
  POSTGRES_PID=
  # The socket folder must be reachable by the server's user.
  chmod 0755 "$POSTGRES_DIR"
  if [ "$(id -u)" -eq 0 ]; then chown postgres:postgres "$POSTGRES_DIR"; fi
  as_postgres "$bin/initdb" --no-sync -D "$POSTGRES_DIR/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 \
    >"$POSTGRES_DIR/initdb.log" 2>&1 || { cat "$POSTGRES_DIR/initdb.log" >&2; return 1; }
  # setpriv replaces itself with the server, so $! is the server's own process.
  as_postgres "$bin/postgres" -D "$POSTGRES_DIR/data" -p "$POSTGRES_PORT" -c listen_addresses=127.0.0.1 \
    -c unix_socket_directories="$POSTGRES_DIR" -c fsync=off -c max_connections=50 \
    >"$POSTGRES_DIR/server.log" 2>&1 &
  POSTGRES_PID=$!
  for _ in $(seq 1 100); do
    if "$bin/pg_isready" -q -h 127.0.0.1 -p "$POSTGRES_PORT"; then
      export KORVEL_TEST_PG_URI="postgresql://postgres@127.0.0.1:$POSTGRES_PORT/postgres"
      return 0
    fi
    kill -0 "$POSTGRES_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "postgres did not start:" >&2
  cat "$POSTGRES_DIR/server.log" >&2
  return 1
}

# Never fails, like stop_mariadb. A server that will not stop is killed, and the shared-memory
# segment a killed server leaves behind is removed.
stop_postgres() {
  [ -n "${POSTGRES_DIR:-}" ] || return 0
  local bin
  bin=$(postgres_bin 2>/dev/null) || bin=
  if [ -n "$bin" ] && [ -n "${POSTGRES_PID:-}" ] && kill -0 "$POSTGRES_PID" 2>/dev/null; then
    as_postgres "$bin/pg_ctl" stop -D "$POSTGRES_DIR/data" -m fast -w -t 60 >/dev/null 2>&1 || true
  fi
  if [ -n "${POSTGRES_PID:-}" ]; then
    if kill -0 "$POSTGRES_PID" 2>/dev/null; then
      echo "postgres: the server did not stop within 60 s; killed" >&2
      kill -KILL "$POSTGRES_PID" 2>/dev/null || true
      local segment
      for segment in $(ipcs -m -p 2>/dev/null | awk -v pid="$POSTGRES_PID" '$3 == pid { print $1 }'); do
        ipcrm -m "$segment" 2>/dev/null || true
      done
    fi
    wait "$POSTGRES_PID" 2>/dev/null || true
  fi
  rm -rf "$POSTGRES_DIR" 2>/dev/null || echo "postgres: could not remove $POSTGRES_DIR" >&2
  unset KORVEL_TEST_PG_URI
  POSTGRES_DIR= POSTGRES_PORT= POSTGRES_PID=
  return 0
}
