"""A real SMTP server for the mail tests: aiosmtpd on 127.0.0.1 with AUTH LOGIN.

It prints its port on the first line of its output, stores every message it accepts in the
folder given with --store (N.envelope: the sender and the recipients, one per line; N.data: the
bytes received; N.ready once both are complete), writes every command it receives (the message
text aside) as a line of the file "commands" there, and ends when its standard input closes.

Options beyond the plain server:
  --starttls CERT KEY   offer STARTTLS with this certificate and require it before AUTH
  --implicit CERT KEY   speak TLS from the first byte
  --refuse-login        offer no AUTH LOGIN (only AUTH PLAIN)
  --no-starttls-offer   accept STARTTLS but do not announce it in EHLO
  --split               send each line of a multi-line reply in a write of its own
  --drop-at COMMAND     hang up when COMMAND (upper case) arrives
Otherwise a multi-line reply leaves in one write, as a client that reads each reply with a
single receive expects.
"""
import argparse
import asyncio
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

parser = argparse.ArgumentParser()
parser.add_argument("--store", required=True)
parser.add_argument("--user", default="kxUser")
parser.add_argument("--password", default="kxSecret")
parser.add_argument("--starttls", nargs=2)
parser.add_argument("--implicit", nargs=2)
parser.add_argument("--refuse-login", action="store_true")
parser.add_argument("--no-starttls-offer", action="store_true")
parser.add_argument("--split", action="store_true")
parser.add_argument("--drop-at")
options = parser.parse_args()


def context(pair):
    if not pair:
        return None
    result = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    result.load_cert_chain(pair[0], pair[1])
    return result


class Store:
    count = 0

    async def handle_DATA(self, server, session, envelope):
        name = os.path.join(options.store, str(Store.count))
        Store.count += 1
        with open(name + ".envelope", "w") as out:
            out.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        with open(name + ".data", "wb") as out:
            out.write(envelope.original_content)
        open(name + ".ready", "w").close()
        return "250 OK stored"


def authenticator(server, session, envelope, mechanism, data):
    good = (mechanism == "LOGIN" and isinstance(data, LoginPassword)
            and data.login == options.user.encode() and data.password == options.password.encode())
    return AuthResult(success=good, handled=False)


class TestSMTP(SMTP):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.kx_pending = []

    async def push(self, status):
        text = status.decode() if isinstance(status, bytes) else status
        if options.no_starttls_offer and text[4:].upper() == "STARTTLS":
            return
        if len(text) > 3 and text[3] == "-":
            self.kx_pending.append(text)
            return
        lines, self.kx_pending = self.kx_pending + [text], []
        if options.split:
            for index, line in enumerate(lines):
                if index:
                    await asyncio.sleep(0.2)
                await super().push(line)
        else:
            await super().push("\r\n".join(lines))


def recorded(name, command):
    async def record(self, arg):
        with open(os.path.join(options.store, "commands"), "a") as out:
            out.write((name + " " + (arg or "")).rstrip() + "\n")
        if name == options.drop_at:
            self.transport.close()
            return
        await command(self, arg)

    return record


for name in ("EHLO", "HELO", "STARTTLS", "AUTH", "MAIL", "RCPT", "DATA", "RSET", "QUIT"):
    setattr(TestSMTP, "smtp_" + name, recorded(name, getattr(SMTP, "smtp_" + name)))


def make():
    return TestSMTP(Store(), hostname="kxTestSmtp",
                    authenticator=authenticator,
                    auth_exclude_mechanism=["LOGIN"] if options.refuse_login else None,
                    auth_require_tls=bool(options.starttls), tls_context=context(options.starttls),
                    require_starttls=bool(options.starttls))


async def main():
    loop = asyncio.get_running_loop()
    server = await loop.create_server(make, "127.0.0.1", 0, ssl=context(options.implicit))
    print(server.sockets[0].getsockname()[1], flush=True)
    finished = loop.create_future()
    loop.add_reader(sys.stdin.fileno(), lambda: finished.done() or finished.set_result(None))
    await finished
    server.close()


asyncio.run(main())
