#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Clients that misuse the status page, for the tests.

  hostile_client.py idle PORT COUNT       opens COUNT connections and sends nothing
  hostile_client.py pipeline PORT PATH    sends GET PATH without end, never reading
  hostile_client.py slow PORT             sends a request's headers a byte at a time

Prints "ready" once its connections are made (idle) and "dropped" when the program
closes its connection; otherwise runs until its standard input is closed.
"""
import os
import resource
import select
import socket
import sys
import threading
import time


def until_stdin_closes():
    sys.stdin.read()
    os._exit(0)


def closed_by_server(client):
    if not select.select([client], [], [], 0)[0]:
        return False
    try:
        return client.recv(1, socket.MSG_PEEK) == b""
    except OSError:
        return True


def main():
    mode, port = sys.argv[1], int(sys.argv[2])
    threading.Thread(target=until_stdin_closes, daemon=True).start()
    connect = lambda: socket.create_connection(("127.0.0.1", port), timeout=30)
    if mode == "idle":
        count = int(sys.argv[3])
        hard = resource.getrlimit(resource.RLIMIT_NOFILE)[1]
        resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, count + 256), hard))
        clients = [connect() for _ in range(count)]
        print("ready", flush=True)
        while True:
            time.sleep(1)
    client = connect()
    if mode == "pipeline":
        request = f"GET {sys.argv[3]} HTTP/1.1\r\nHost: kiln\r\n\r\n".encode() * 50
        client.setblocking(False)
        while not closed_by_server(client):
            try:
                client.send(request)
            except BlockingIOError:
                time.sleep(0.05)
            except OSError:
                break
    elif mode == "slow":
        for byte in b"GET / HTTP/1.1\r\nHost: kiln\r\nX-Slow: " + b"a" * 10000:
            try:
                client.send(bytes([byte]))
            except OSError:
                break
            if closed_by_server(client):
                break
            time.sleep(0.5)
    print("dropped", flush=True)
    while True:
        time.sleep(1)


main()
