#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# smtp_sink.py FOLDER LIMIT: a real SMTP server on loopback for the mail tests. Prints its
# port, writes each message to FOLDER/mail-N.txt ("FROM sender", "TO recipients", then the
# message as received) and stops on "quit", at the end of its input or after LIMIT seconds.
# A recipient whose address starts with "nobody@" is refused, as a server refuses one it
# does not know.
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("nobody@"):
            return "550 5.1.1 No such mailbox here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, "mail-%d.txt" % self.count)
        content = envelope.original_content or envelope.content
        if isinstance(content, str):
            content = content.encode("utf-8")
        # Written aside and renamed: the test waits for the file and reads it whole.
        with open(path + ".part", "wb") as out:
            out.write(("FROM %s\nTO %s\n" % (envelope.mail_from, ",".join(envelope.rcpt_tos))).encode())
            out.write(content)
        os.rename(path + ".part", path)
        return "250 OK"


folder, limit = sys.argv[1], float(sys.argv[2])
with socket.socket() as probe:
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
controller = Controller(Sink(folder), hostname="127.0.0.1", port=port)
controller.start()
print(port, flush=True)
deadline = time.time() + limit
while time.time() < deadline and sys.stdin.readline() not in ("", "quit\n"):
    pass
controller.stop()
