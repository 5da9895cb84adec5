# A throwaway SMTP server for the tests of the e-mail alerts (scripts/lib/smtp_server.py): 127.0.0.1
# only, free ports, a certificate from a CA made for this run. Source this file (after mariadb.sh,
# for free_port), then start_smtp / stop_smtp.
#   KORVEL_TEST_SMTP_STARTTLS_PORT  STARTTLS required, AUTH for korvel / pw-ok
#   KORVEL_TEST_SMTPS_PORT          implicit TLS
#   KORVEL_TEST_SMTP_PLAIN_PORT     plain SMTP, no STARTTLS offered
#   KORVEL_TEST_SMTP_CA             the CA that signed the server's certificate
#   KORVEL_TEST_SMTP_MAILDIR        where each message lands, raw (.eml) and as parsed (.json)

# Debian's own interpreter: aiosmtpd is a Debian package, which a python3 earlier on the PATH (a
# pyenv one, say) does not see.
SMTP_PYTHON=/usr/bin/python3

smtp_certificate() {
  local dir=$1
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Korvel test SMTP CA" \
    -keyout "$dir/ca.key" -out "$dir/ca.pem" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign &&
  openssl req -newkey rsa:2048 -nodes -subj "/CN=127.0.0.1" -keyout "$dir/server.key" -out "$dir/server.csr" &&
  printf 'subjectAltName=IP:127.0.0.1,DNS:localhost,DNS:mail.korvel.test\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' \
    >"$dir/server.ext" &&
  openssl x509 -req -in "$dir/server.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca.key" -CAcreateserial -days 2 \
    -extfile "$dir/server.ext" -out "$dir/server.pem"
}

start_smtp() {
  SMTP_DIR=$(mktemp -d /tmp/korvel-smtp-XXXXXX)
  SMTP_PID=
  mkdir -p "$SMTP_DIR/mail"
  smtp_certificate "$SMTP_DIR" >"$SMTP_DIR/openssl.log" 2>&1 || { cat "$SMTP_DIR/openssl.log" >&2; return 1; }
  local starttls smtps plain
  starttls=$(free_port) smtps=$(free_port) plain=$(free_port)
  "$SMTP_PYTHON" "$(dirname "${BASH_SOURCE[0]}")/smtp_server.py" "$SMTP_DIR/mail" "$SMTP_DIR/server.pem" \
    "$SMTP_DIR/server.key" "$starttls" "$smtps" "$plain" >"$SMTP_DIR/server.log" 2>&1 &
  SMTP_PID=$!
  for _ in $(seq 1 100); do
    if [ -e "$SMTP_DIR/mail/ready" ]; then
      export KORVEL_TEST_SMTP_STARTTLS_PORT=$starttls KORVEL_TEST_SMTPS_PORT=$smtps KORVEL_TEST_SMTP_PLAIN_PORT=$plain
      export KORVEL_TEST_SMTP_CA=$SMTP_DIR/ca.pem KORVEL_TEST_SMTP_MAILDIR=$SMTP_DIR/mail
      return 0
    fi
    kill -0 "$SMTP_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "the SMTP server did not start:" >&2
  cat "$SMTP_DIR/server.log" >&2
  return 1
}

# Never fails, like stop_mariadb.
stop_smtp() {
  [ -n "${SMTP_DIR:-}" ] || return 0
  if [ -n "${SMTP_PID:-}" ]; then
    kill "$SMTP_PID" 2>/dev/null || true
    local tenths=0
    while kill -0 "$SMTP_PID" 2>/dev/null && [ "$tenths" -lt 100 ]; do
      sleep 0.1
      tenths=$((tenths + 1))
    done
    kill -KILL "$SMTP_PID" 2>/dev/null || true
    wait "$SMTP_PID" 2>/dev/null || true
  fi
  rm -rf "$SMTP_DIR" 2>/dev/null || echo "smtp: could not remove $SMTP_DIR" >&2
  unset KORVEL_TEST_SMTP_STARTTLS_PORT KORVEL_TEST_SMTPS_PORT KORVEL_TEST_SMTP_PLAIN_PORT KORVEL_TEST_SMTP_CA \
    KORVEL_TEST_SMTP_MAILDIR
  SMTP_DIR= SMTP_PID=
  return 0
}
