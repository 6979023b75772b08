#!/usr/bin/python3
"""SMTP servers on 127.0.0.1 for Halvard's test e-mail tests.

Makes its own certificates with openssl in DIR (an authority the tests trust, a server
certificate it signed for localhost and 127.0.0.1, and a self-signed one), starts every
server on a port the system picks, writes "name port" lines to DIR/ports and serves
until its stdin closes (the test ended) or a minute and a half has passed.

  starttls    STARTTLS, and AUTH only over TLS; user "alarm", password in PASSWORD
  implicit    TLS from the first byte, same login
  selfsigned  TLS from the first byte with the self-signed certificate
  plain       no TLS at all but offers AUTH; every byte it receives goes to DIR/plain.log
  silent      accepts connections and never says a word

Every message a server accepts is written to DIR/mail-N.json: the envelope and the
headers and first body line as the recipient reads them. RCPT TO refused@example.com
is refused with 550.
"""

import asyncio
import json
import os
import ssl
import subprocess
import sys
import threading
import warnings
from email import policy
from email.parser import BytesParser

from aiosmtpd.smtp import SMTP, AuthResult

USER = "alarm"
PASSWORD = "Pw-s3cret!x"
REFUSED = "refused@example.com"
LIFETIME_S = 90


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True, capture_output=True)


def make_certificates(folder):
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    openssl("req", "-x509", *ec, "-keyout", "ca.key", "-out", "ca.crt", "-days", "2",
            "-subj", "/CN=Halvard Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)
    openssl("req", *ec, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=localhost",
            cwd=folder)
    with open(os.path.join(folder, "server.ext"), "w") as ext:
        ext.write("subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                  "extendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
            "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "server.ext",
            cwd=folder)
    openssl("req", "-x509", *ec, "-keyout", "self.key", "-out", "self.crt", "-days", "2",
            "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", cwd=folder)


def server_context(folder, name):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(os.path.join(folder, name + ".crt"), os.path.join(folder, name + ".key"))
    return context


def authenticator(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == USER.encode() and auth_data.password == PASSWORD.encode()
    return AuthResult(success=ok, handled=False)  # handled=False: the server says 535


class Keeper:
    """The handler: refuses one recipient, keeps every accepted message."""

    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address == REFUSED:
            return "550 5.1.1 <%s>: Recipient address rejected: no such user" % address
        envelope.rcpt_tos.append(address)
        return "250 2.1.5 Ok"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        message = BytesParser(policy=policy.default).parsebytes(envelope.original_content)
        body = message.get_content()
        record = {
            "envelope_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "from": str(message["From"]),
            "sender": str(message["Sender"] or ""),
            "to": str(message["To"]),
            "subject": str(message["Subject"]),
            "first_line": body.splitlines()[0] if body else "",
            "body": body,
        }
        queue_id = "HALV%04d" % self.count
        path = os.path.join(self.folder, "mail-%d.json" % self.count)
        with open(path + ".part", "w") as out:
            json.dump(record, out)
        os.rename(path + ".part", path)
        return "250 2.0.0 Ok: queued as " + queue_id


class LoggingSMTP(SMTP):
    """An SMTP server that keeps every byte it receives, to show what a client sent."""

    log_path = None

    def data_received(self, data):
        with open(self.log_path, "ab") as log:
            log.write(data)
        super().data_received(data)


class Silent(asyncio.Protocol):
    def connection_made(self, transport):
        self.transport = transport  # kept open, never written to


async def serve(folder):
    keeper = Keeper(folder)
    LoggingSMTP.log_path = os.path.join(folder, "plain.log")
    common = dict(authenticator=authenticator, hostname="localhost")
    loop = asyncio.get_running_loop()
    starttls_context = server_context(folder, "server")
    factories = {
        "starttls": (lambda: SMTP(keeper, tls_context=starttls_context, require_starttls=True,
                                  auth_require_tls=True, **common), None),
        "implicit": (lambda: SMTP(keeper, auth_require_tls=False, **common),
                     server_context(folder, "server")),
        "selfsigned": (lambda: SMTP(keeper, auth_require_tls=False, **common),
                       server_context(folder, "self")),
        "plain": (lambda: LoggingSMTP(keeper, auth_require_tls=False, **common), None),
        "silent": (Silent, None),
    }
    ports = {}
    servers = []
    for name, (factory, context) in factories.items():
        server = await loop.create_server(factory, "127.0.0.1", 0, ssl=context)
        servers.append(server)
        ports[name] = server.sockets[0].getsockname()[1]
    with open(os.path.join(folder, "ports.part"), "w") as out:
        for name, port in ports.items():
            out.write("%s %d\n" % (name, port))
    os.rename(os.path.join(folder, "ports.part"), os.path.join(folder, "ports"))

    done = asyncio.Event()
    threading.Thread(target=lambda: (sys.stdin.read(), loop.call_soon_threadsafe(done.set)),
                     daemon=True).start()
    try:
        await asyncio.wait_for(done.wait(), LIFETIME_S)
    except asyncio.TimeoutError:
        pass
    for server in servers:
        server.close()


def main():
    warnings.simplefilter("ignore")  # aiosmtpd's own deprecation notes
    folder = sys.argv[1]
    make_certificates(folder)
    asyncio.run(serve(folder))


if __name__ == "__main__":
    main()
