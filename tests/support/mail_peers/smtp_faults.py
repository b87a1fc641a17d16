#!/usr/bin/python3
"""The mail tests' fault server: SMTP servers that misbehave on purpose, one
listener per case on free loopback ports. aiosmtpd plays a plain server;
scripted asyncio handlers play the byte-level faults.

  smtp_faults.py up DIR     start in the background; DIR/faults.env names the ports
  smtp_faults.py down DIR   stop it

Each listener logs every line it receives to DIR/<case>.log and "<closed>"
when the client's connection ends, so a test can tell whether QUIT came. The
message cases also append the text after DATA, as it came on the wire, to
DIR/<case>.data.
"""
import asyncio
import os
import signal
import socket
import sys

from aiosmtpd.smtp import SMTP

LIFETIME_SECONDS = 1800
# Room for a whole message of 5 MiB of attachments in base64.
DATA_LIMIT = 16 * 1024 * 1024
END_OF_DATA = b"\r\n.\r\n"


class Log:
    def __init__(self, folder, case):
        self.path = os.path.join(folder, case + ".log")

    def write(self, text):
        with open(self.path, "a", encoding="latin-1") as log:
            log.write(text + "\n")


async def lines_until_closed(reader, log):
    while True:
        line = await reader.readline()
        if not line:
            return
        log.write(line.decode("latin-1").rstrip("\r\n"))


async def expect(reader, log):
    line = await reader.readline()
    if not line:
        raise ConnectionError("client closed")
    text = line.decode("latin-1").rstrip("\r\n")
    log.write(text)
    return text


async def say(writer, *pieces, pause=0.0):
    """Writes each piece as its own TCP segment, pausing between them."""
    for piece in pieces:
        writer.write(piece.encode("latin-1"))
        await writer.drain()
        if pause:
            await asyncio.sleep(pause)


async def ehlo_then(reader, writer, log, offer, after):
    await say(writer, "220 faults ESMTP\r\n")
    await expect(reader, log)
    await say(writer, *offer, pause=0.05)
    await after(reader, writer, log)


async def login_dialogue(reader, writer, log):
    if (await expect(reader, log)).upper().startswith("AUTH LOGIN"):
        await say(writer, "334 VXNlcm5hbWU6\r\n")
        await expect(reader, log)
        await say(writer, "334 UGFzc3dvcmQ6\r\n")
        await expect(reader, log)
        await say(writer, "235 2.7.0 Authentication successful\r\n")
    await quit_dialogue(reader, writer, log)


async def plain_dialogue(reader, writer, log):
    if (await expect(reader, log)).upper().startswith("AUTH PLAIN "):
        await say(writer, "235 2.7.0 Authentication successful\r\n")
    await quit_dialogue(reader, writer, log)


async def refuse_auth_530(reader, writer, log):
    await expect(reader, log)
    await say(writer, "530 5.7.0 Must issue a STARTTLS command first\r\n")
    await lines_until_closed(reader, log)


async def quit_dialogue(reader, writer, log):
    while True:
        line = await expect(reader, log)
        await say(writer, "221 2.0.0 Bye\r\n" if line.upper() == "QUIT" else "250 ok\r\n")


async def greeting_554(reader, writer, log):
    await say(writer, "554 no service here\r\n")
    await lines_until_closed(reader, log)


async def drop_after_ehlo(reader, writer, log):
    await say(writer, "220 faults ESMTP\r\n")
    await expect(reader, log)


async def silence(reader, writer, log):
    await lines_until_closed(reader, log)


async def trickle(reader, writer, log):
    """A greeting that comes one byte at a time, each well within the wait
    for a reply, the whole far beyond it."""
    await say(writer, "220-", *("x" * 16), "\r\n220 faults ESMTP\r\n", pause=0.5)
    await quit_dialogue(reader, writer, log)


async def huge_ehlo(reader, writer, log):
    line = "250-" + "x" * 46 + "\r\n"
    body = line * (20000 // len(line) + 1)
    await ehlo_then(reader, writer, log, [body, "250 HELP\r\n"], quit_dialogue)


def record(folder, case, data):
    with open(os.path.join(folder, case + ".data"), "ab") as out:
        out.write(data)


def message_dialogue(folder, case, refuse=None, stall=0.0):
    """A server for whole messages: 250 to every command and 354 to DATA,
    except the replies `refuse` gives by verb ("." for the end of data).
    With `stall` it stops reading after its 354 for that many seconds, then
    records everything up to the client's close."""
    refuse = refuse or {}

    async def dialogue(reader, writer, log):
        await say(writer, "220 faults ESMTP\r\n")
        while True:
            verb = (await expect(reader, log))[:4].upper()
            if verb == "QUIT":
                await say(writer, "221 2.0.0 Bye\r\n")
            elif verb == "DATA" and verb not in refuse:
                await say(writer, "354 go ahead\r\n")
                if stall:
                    writer.transport.pause_reading()
                    await asyncio.sleep(stall)
                    writer.transport.resume_reading()
                    record(folder, case, await reader.read())
                    return
                data = await reader.readuntil(END_OF_DATA)
                record(folder, case, data)
                log.write(f"<data {len(data)} bytes>")
                await say(writer, refuse.get(".", "250 2.0.0 queued\r\n"))
            else:
                await say(writer, refuse.get(verb, "250 ok\r\n"))
    return dialogue


MESSAGE_CASES = {
    "message": {},
    "rcpt_refused": {"refuse": {"RCPT": "550 5.1.1 no such user\r\n"}},
    "data_refused": {"refuse": {"DATA": "554 5.5.1 no valid recipients\r\n"}},
    "end_refused": {"refuse": {".": "554 5.7.1 message refused\r\n"}},
    "mail_530": {"refuse": {"MAIL": "530 5.7.0 Authentication required\r\n"}},
    "stalled_data": {"stall": 3.0},
    "facade": {},
    "text_message": {},
}


def scripted(case):
    """The handlers by case name; each logs its connection's end."""
    def offer(*lines):
        return ["250-faults\r\n"] + list(lines)

    return {
        "greeting_554": greeting_554,
        "chunked_ehlo": lambda r, w, l: ehlo_then(
            r, w, l, offer("250-SIZE 1000", "0\r\n250-AUTH LOG", "IN PLAIN\r\n", "250 HELP\r\n"), login_dialogue),
        "auth_equals": lambda r, w, l: ehlo_then(r, w, l, offer("250 AUTH=LOGIN\r\n"), login_dialogue),
        "auth_lookalikes": lambda r, w, l: ehlo_then(
            r, w, l, offer("250-AUTHX LOGIN\r\n", "250 XAUTH PLAIN\r\n"), quit_dialogue),
        "plain_only": lambda r, w, l: ehlo_then(r, w, l, offer("250 AUTH PLAIN\r\n"), plain_dialogue),
        "gssapi_only": lambda r, w, l: ehlo_then(r, w, l, offer("250 AUTH GSSAPI\r\n"), quit_dialogue),
        "auth_530": lambda r, w, l: ehlo_then(r, w, l, offer("250 AUTH LOGIN\r\n"), refuse_auth_530),
        "dropped": drop_after_ehlo,
        "silent": silence,
        "trickle": trickle,
        "huge_ehlo": huge_ehlo,
    }[case]


def logged(folder, case, handler):
    async def serve(reader, writer):
        log = Log(folder, case)
        try:
            await handler(reader, writer, log)
        except (ConnectionError, asyncio.IncompleteReadError):
            pass
        finally:
            log.write("<closed>")
            writer.close()
    return serve


class QuitLogger:
    """aiosmtpd handler that logs the commands a test looks for."""

    def __init__(self, log):
        self.log = log

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        self.log.write("EHLO " + hostname)
        session.host_name = hostname
        return responses

    async def handle_QUIT(self, server, session, envelope):
        self.log.write("QUIT")
        return "221 Bye"


class LoggedSMTP(SMTP):
    def connection_lost(self, error):
        self.event_handler.log.write("<closed>")
        super().connection_lost(error)


AIOSMTPD_CASES = ["no_starttls", "no_auth_offered"]


async def main(folder):
    loop = asyncio.get_running_loop()
    ports = {}
    for case in ["greeting_554", "chunked_ehlo", "auth_equals", "auth_lookalikes", "plain_only",
                 "gssapi_only", "auth_530", "dropped", "silent", "trickle", "huge_ehlo"]:
        server = await asyncio.start_server(logged(folder, case, scripted(case)), "127.0.0.1", 0)
        ports[case] = server.sockets[0].getsockname()[1]
    for case, options in MESSAGE_CASES.items():
        listener = socket.socket()
        if "stall" in options:
            # A small window, so that a stalled reader soon stops the client.
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        listener.bind(("127.0.0.1", 0))
        server = await asyncio.start_server(
            logged(folder, case, message_dialogue(folder, case, **options)), sock=listener, limit=DATA_LIMIT)
        ports[case] = server.sockets[0].getsockname()[1]
    for case in AIOSMTPD_CASES:
        handler = QuitLogger(Log(folder, case))
        server = await loop.create_server(lambda h=handler: LoggedSMTP(h, hostname="faults"), "127.0.0.1", 0)
        ports[case] = server.sockets[0].getsockname()[1]
    env = os.path.join(folder, "faults.env")
    with open(env + ".tmp", "w") as out:
        for case, port in ports.items():
            out.write(f"PORT_{case.upper()}={port}\n")
    os.rename(env + ".tmp", env)
    await asyncio.sleep(LIFETIME_SECONDS)


def up(folder):
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    child = os.fork()
    if child == 0:
        os.setsid()
        null = os.open(os.devnull, os.O_RDWR)
        errors = os.open(os.path.join(folder, "server.err"), os.O_WRONLY | os.O_CREAT, 0o644)
        os.dup2(null, 0)
        os.dup2(null, 1)
        os.dup2(errors, 2)
        asyncio.run(main(folder))
        os._exit(0)
    with open(os.path.join(folder, "server.pid"), "w") as out:
        out.write(str(child))
    for _ in range(100):
        if os.path.exists(os.path.join(folder, "faults.env")):
            return 0
        if os.waitpid(child, os.WNOHANG)[0]:
            break
        asyncio.run(asyncio.sleep(0.05))
    sys.stderr.write("smtp-faults: server did not come up\n")
    return 1


def down(folder):
    try:
        with open(os.path.join(folder, "server.pid")) as pid:
            os.killpg(int(pid.read()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    return 0


if __name__ == "__main__":
    action, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    sys.exit(up(folder) if action == "up" else down(folder))
