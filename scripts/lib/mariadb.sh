# A throwaway MariaDB server for the tests: its own data folder, 127.0.0.1 only, a free port,
# root with an empty password. Source this file, then start_mariadb / stop_mariadb.

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

start_mariadb() {
  MARIADB_DIR=$(mktemp -d /tmp/korvel-mariadb-XXXXXX)
  MARIADB_PORT=$(free_port)
  MARIADB_PID=
  mariadb-install-db --no-defaults --datadir="$MARIADB_DIR/data" --user=root \
    --auth-root-authentication-method=normal --skip-test-db --innodb-log-file-size=8M >"$MARIADB_DIR/install.log" 2>&1 ||
    { cat "$MARIADB_DIR/install.log" >&2; return 1; }
  mariadbd --no-defaults --datadir="$MARIADB_DIR/data" --socket="$MARIADB_DIR/sock" --port="$MARIADB_PORT" \
    --bind-address=127.0.0.1 --user=root --pid-file="$MARIADB_DIR/pid" --log-error="$MARIADB_DIR/err.log" \
    --innodb-log-file-size=8M --character-set-server=utf8mb4 --skip-name-resolve >/dev/null 2>&1 &
  MARIADB_PID=$!
  for _ in $(seq 1 100); do
    if mariadb-admin --no-defaults --protocol=TCP -h127.0.0.1 -P"$MARIADB_PORT" -uroot ping >/dev/null 2>&1; then
      export KORVEL_TEST_MYSQL_PORT=$MARIADB_PORT
      export KORVEL_TEST_MYSQL_SOCKET=$MARIADB_DIR/sock
      return 0
    fi
    kill -0 "$MARIADB_PID" 2>/dev/null || break
    sleep 0.2
  done
  echo "mariadb did not start:" >&2
  cat "$MARIADB_DIR/err.log" >&2
  return 1
}

# Never fails: by the time it runs the tests have given their verdict, and a server that is slow to
# go must not turn it red. A problem is said on stderr.
stop_mariadb() {
  [ -n "${MARIADB_DIR:-}" ] || return 0
  if [ -n "${MARIADB_PORT:-}" ]; then
    mariadb-admin --no-defaults --protocol=TCP -h127.0.0.1 -P"$MARIADB_PORT" -uroot shutdown >/dev/null 2>&1 || true
  fi
  # shutdown returns while the server may still be writing its buffer-pool file into the folder.
  if [ -n "${MARIADB_PID:-}" ]; then
    local tenths=0
    while kill -0 "$MARIADB_PID" 2>/dev/null && [ "$tenths" -lt 600 ]; do
      sleep 0.1
      tenths=$((tenths + 1))
    done
    if kill -0 "$MARIADB_PID" 2>/dev/null; then
      echo "mariadb: the server did not stop within 60 s; killed" >&2
      kill -KILL "$MARIADB_PID" 2>/dev/null || true
    fi
    wait "$MARIADB_PID" 2>/dev/null || true
  fi
  rm -rf "$MARIADB_DIR" 2>/dev/null || echo "mariadb: could not remove $MARIADB_DIR" >&2
  MARIADB_DIR= MARIADB_PORT= MARIADB_PID=
  return 0
}
