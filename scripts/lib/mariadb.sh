# A throwaway MariaDB server for the tests: its own data folder, 127.0.0.1 only, a free port,
# root with an empty password. Source this file, then start_mariadb / stop_mariadb.

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

start_mariadb() {
  MARIADB_DIR=$(mktemp -d /tmp/korvel-mariadb-XXXXXX)
  MARIADB_PORT=$(free_port)
  mariadb-install-db --no-defaults --datadir="$MARIADB_DIR/data" --user=root \
    --auth-root-authentication-method=normal --skip-test-db --innodb-log-file-size=8M >"$MARIADB_DIR/install.log" 2>&1 ||
    { cat "$MARIADB_DIR/install.log" >&2; return 1; }
  mariadbd --no-defaults --datadir="$MARIADB_DIR/data" --socket="$MARIADB_DIR/sock" --port="$MARIADB_PORT" \
    --bind-address=127.0.0.1 --user=root --pid-file="$MARIADB_DIR/pid" --log-error="$MARIADB_DIR/err.log" \
    --innodb-log-file-size=8M --character-set-server=utf8mb4 --skip-name-resolve >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    if mariadb-admin --no-defaults --protocol=TCP -h127.0.0.1 -P"$MARIADB_PORT" -uroot ping >/dev/null 2>&1; then
      export KORVEL_TEST_MYSQL_PORT=$MARIADB_PORT
      export KORVEL_TEST_MYSQL_SOCKET=$MARIADB_DIR/sock
      return 0
    fi
    sleep 0.2
  done
  echo "mariadb did not start:" >&2
  cat "$MARIADB_DIR/err.log" >&2
  return 1
}

stop_mariadb() {
  [ -n "${MARIADB_PORT:-}" ] || return 0
  mariadb-admin --no-defaults --protocol=TCP -h127.0.0.1 -P"$MARIADB_PORT" -uroot shutdown >/dev/null 2>&1 || true
  rm -rf "$MARIADB_DIR"
  MARIADB_PORT=
}
