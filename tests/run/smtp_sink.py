#!/usr/bin/env python3
"""A real SMTP server on loopback for the mail tests.

Listens on 127.0.0.1 at a free port, prints the port on its first line, writes each
message it receives to OUTPUT_FOLDER/mail-N.txt (envelope sender, recipients, then the
message as received) and stops by itself after a time limit.
"""
import asyncio
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, "mail-%d.txt" % self.count)
        content = envelope.original_content or envelope.content
        if isinstance(content, str):
            content = content.encode("utf-8")
        with open(path + ".part", "wb") as out:
            out.write(("FROM " + envelope.mail_from + "\n").encode())
            out.write(("TO " + ",".join(envelope.rcpt_tos) + "\n").encode())
            out.write(content)
        os.rename(path + ".part", path)
        return "250 OK"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    folder, limit = sys.argv[1], float(sys.argv[2])
    port = free_port()
    controller = Controller(Sink(folder), hostname="127.0.0.1", port=port)
    controller.start()
    print(port, flush=True)
    deadline = time.time() + limit
    while time.time() < deadline and sys.stdin.readline() not in ("", "quit\n"):
        pass
    controller.stop()


if __name__ == "__main__":
    main()
