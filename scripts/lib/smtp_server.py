"""A throwaway SMTP server for the tests of the e-mail alerts, 127.0.0.1 only.

Three listeners in one process: STARTTLS required (with AUTH for the user "korvel"), implicit TLS,
and plain SMTP that offers no STARTTLS at all. Every message is kept in the folder twice: the raw
bytes (NAME.eml) and what Python's own mail parser makes of them (NAME.json), so that the tests
check the mail as a mail reader sees it rather than as Korvel wrote it.

usage: smtp_server.py FOLDER CERT KEY STARTTLS_PORT SMTPS_PORT PLAIN_PORT
Writes FOLDER/ready once all three listen; runs until SIGTERM.
"""

import email
import email.policy
import email.utils
import json
import os
import signal
import ssl
import sys
import threading
import uuid

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

USER = b"korvel"
PASSWORD = b"pw-ok"


def addresses(header):
    return ",".join(a.username + "@" + a.domain for a in header.addresses) if header else None


def summary(envelope, raw):
    message = email.message_from_bytes(raw, policy=email.policy.default)
    subject = message["subject"]
    defects = len(message.defects) + sum(len(message[name].defects) for name in message.keys())
    return {
        "mail_from": envelope.mail_from,
        "rcpt_tos": ",".join(envelope.rcpt_tos),
        "subject": str(subject) if subject is not None else None,
        "from": addresses(message["from"]),
        "to": addresses(message["to"]),
        "date": email.utils.parsedate_to_datetime(message["date"]).timestamp() if message["date"] else None,
        "message_id": message["message-id"],
        "delivery": message["x-korvel-delivery"],
        "content_type": message.get_content_type(),
        "charset": message.get_content_charset(),
        "transfer_encoding": message["content-transfer-encoding"],
        "defects": defects,
        "body": message.get_content(),
    }


class Keep:
    def __init__(self, folder):
        self.folder = folder

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refused"):
            return "550 5.1.1 no such mailbox"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        name = os.path.join(self.folder, uuid.uuid4().hex)
        raw = envelope.original_content or envelope.content
        with open(name + ".eml", "wb") as out:
            out.write(raw)
        try:
            kept = summary(envelope, raw)
        except Exception as error:  # the test reports what the parser refused
            kept = {"rcpt_tos": ",".join(envelope.rcpt_tos), "error": repr(error)}
        with open(name + ".tmp", "w", encoding="utf-8") as out:
            json.dump(kept, out, ensure_ascii=False)
        os.rename(name + ".tmp", name + ".json")
        return "250 OK"


def authenticate(server, session, envelope, mechanism, data):
    ok = isinstance(data, LoginPassword) and data.login == USER and data.password == PASSWORD
    # handled=False: the server itself answers 535 to a refused login.
    return AuthResult(success=ok, handled=False)


def main():
    folder, cert, key, starttls_port, smtps_port, plain_port = sys.argv[1:7]
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    handler = Keep(folder)
    servers = [
        Controller(handler, hostname="127.0.0.1", port=int(starttls_port), tls_context=context,
                   require_starttls=True, authenticator=authenticate),
        Controller(handler, hostname="127.0.0.1", port=int(smtps_port), ssl_context=context),
        Controller(handler, hostname="127.0.0.1", port=int(plain_port)),
    ]
    for server in servers:
        server.start()
    with open(os.path.join(folder, "ready"), "w") as out:
        out.write("ready\n")
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    stop.wait()
    for server in servers:
        server.stop()


if __name__ == "__main__":
    main()
