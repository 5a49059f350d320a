#!/usr/bin/env python3
"""A time server of two machines behind one name, on 127.0.0.1: every HEAD
request is answered with a Date from one clock or the other, in turn or
(with "random") at random, the clocks this machine's plus OFFSET and plus
OFFSET + APART seconds. A connection may carry many requests. Prints the
port it listens on.
Usage: two_clocks.py OFFSET APART [random]"""
import http.server
import random
import socketserver
import sys
import threading
import time
from email.utils import formatdate

OFFSET, APART = float(sys.argv[1]), float(sys.argv[2])
AT_RANDOM = sys.argv[3:] == ["random"]
turn = [0]
lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_HEAD(self):
        with lock:
            second = random.random() < 0.5 if AT_RANDOM else turn[0] % 2
            clock = OFFSET + (APART if second else 0)
            turn[0] += 1
        self.send_response_only(200)
        self.send_header("Date", formatdate(time.time() + clock, usegmt=True))
        self.send_header("Content-Length", "0")
        self.end_headers()

    def log_message(self, *args):
        pass


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
