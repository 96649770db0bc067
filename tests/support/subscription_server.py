"""The newsletter's subscription endpoint as the tests see it: a real HTTP server
(Python's http.server) on 127.0.0.1:80 that answers every request with a chosen status
and body and writes what it saw to a log file.

The log holds one event per line, fields separated by TABs; backslash, TAB, newline and
carriage return inside a field are written \\\\ \\t \\n \\r, and bytes are written as
Latin-1 so that the Windows side reads back exactly the bytes that were sent:

    request     <request line> <user agent> <raw query> <name> <value> <name> <value> ...
    connection  <requests it carried> <bytes received>

A request's parameters are percent-decoded, in the order of the query. A connection
event is written when the connection has ended; a probe that opened and closed a
connection without sending anything shows as "connection 0 0".

The reply is read for every request from a reply file: the first line is the status
(e.g. "200", "404"), optionally followed by a mode and its argument, and everything after
that line is the body, byte for byte. Modes:

* "truncate" announces twice the body's length and closes after the body;
* "drop" closes the connection without any answer;
* "silent" takes the request and never answers, holding the connection open;
* "trickle SECONDS" sends the whole reply one byte every SECONDS;
* "endless" sends the body again and again after headers without a length, for ever;
* "redirect URL" answers with the status, a Location header of URL ("self" is the
  request's own path) and the body.

Whatever the reply file says, a request for "/elsewhere" is answered 200 "OK": the
target of a redirect that would acknowledge anything it is sent.

Two ways to use it:

* from pytest, in the test's own process::

      with SubscriptionServer(tmp_path) as server:
          server.reply(200, b"OK")
          ...
          server.requests()      # [{"line": ..., "agent": ..., "query": ..., "params": [...]}]

* as the wrapper of an in-process Windows test program::

      subscription_server.py --dir DIR -- COMMAND ARGS...

  serves while COMMAND runs, with SONDREL_SUBSCRIPTION_SERVER=DIR in its environment, and
  exits with COMMAND's status. The program writes DIR/reply and reads DIR/log.
"""
import argparse
import http.server
import os
import socket
import socketserver
import subprocess
import sys
import threading
import time
import urllib.parse
from pathlib import Path

HOST, PORT = "127.0.0.1", 80
_ESCAPES = {"\\": "\\\\", "\t": "\\t", "\n": "\\n", "\r": "\\r"}


def escape(text):
    return "".join(_ESCAPES.get(c, c) for c in text)


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            i += 1
            out.append({"t": "\t", "n": "\n", "r": "\r"}.get(text[i], text[i]))
        else:
            out.append(text[i])
        i += 1
    return "".join(out)


class _CountingReader:
    """The connection's input, counting the bytes that arrive."""

    def __init__(self, raw):
        self.raw = raw
        self.count = 0

    def readline(self, *args):
        line = self.raw.readline(*args)
        self.count += len(line)
        return line

    def read(self, *args):
        data = self.raw.read(*args)
        self.count += len(data)
        return data

    def close(self):
        self.raw.close()


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "SubscriptionServer/1"

    def setup(self):
        super().setup()
        self.rfile = _CountingReader(self.rfile)
        self.requests_seen = 0

    def finish(self):
        try:
            super().finish()
        finally:
            self.server.log_event("connection", str(self.requests_seen), str(self.rfile.count))

    def log_message(self, *args):
        pass  # the log file says everything

    def do_GET(self):
        self.requests_seen += 1
        query = urllib.parse.urlsplit(self.path).query
        params = urllib.parse.parse_qsl(query, keep_blank_values=True, encoding="latin-1")
        fields = [self.requestline, self.headers.get("User-Agent", ""), query]
        for name, value in params:
            fields += [name, value]
        self.server.log_event("request", *fields)
        if self.path.startswith("/elsewhere"):
            self._send(200, b"OK")
            return
        status, mode, argument, body = self.server.current_reply()
        self.close_connection = mode in ("drop", "silent", "trickle", "endless")
        if mode == "drop":
            return
        if mode == "silent":
            self._hold()
        elif mode == "trickle":
            self._trickle(status, body, float(argument))
        elif mode == "endless":
            self._endless(status, body or b"x")
        elif mode == "redirect":
            self._send(status, body, location=self.path if argument == "self" else argument)
        else:
            self._send(status, body, truncate=mode == "truncate")

    def _send(self, status, body, truncate=False, location=None):
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        if location:
            self.send_header("Location", location)
        self.send_header("Content-Length", str(len(body) * 2 if truncate else len(body)))
        if truncate:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        self.wfile.write(body)

    def _open_ended(self):
        """Waits while the client keeps the connection and the server runs."""
        return not self.server.stopping.wait(0) and not self._client_gone()

    def _client_gone(self):
        self.connection.settimeout(0)
        try:
            return self.connection.recv(1, socket.MSG_PEEK) == b""
        except (BlockingIOError, InterruptedError):
            return False
        except OSError:
            return True
        finally:
            self.connection.settimeout(None)

    def _hold(self):
        while self._open_ended():
            self.server.stopping.wait(0.1)

    def _trickle(self, status, body, seconds):
        head = (f"HTTP/1.1 {status} Slow\r\nContent-Type: text/html\r\n"
                f"Content-Length: {len(body)}\r\nConnection: close\r\n\r\n").encode("ascii")
        for byte in head + body:
            if not self._open_ended():
                return
            try:
                self.wfile.write(bytes([byte]))
                self.wfile.flush()
            except OSError:
                return
            self.server.stopping.wait(seconds)

    def _endless(self, status, chunk):
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Connection", "close")
        self.end_headers()
        piece = chunk * (65536 // len(chunk) + 1)
        try:
            while not self.server.stopping.is_set():
                self.wfile.write(piece)
        except OSError:
            pass


class _Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    allow_reuse_address = True
    daemon_threads = True

    def __init__(self, folder):
        self.folder = Path(folder)
        self.lock = threading.Lock()
        self.stopping = threading.Event()  # ends the replies that would never end
        super().__init__((HOST, PORT), _Handler)

    def log_event(self, *fields):
        line = "\t".join(escape(f) for f in fields) + "\n"
        with self.lock, open(self.folder / "log", "a", encoding="latin-1", newline="\n") as log:
            log.write(line)

    def current_reply(self):
        try:
            data = (self.folder / "reply").read_bytes()
        except FileNotFoundError:
            return 200, "", b"OK"
        head, _, body = data.partition(b"\n")
        words = head.decode("ascii").split() + ["", ""]
        return int(words[0]), words[1], words[2], body


class SubscriptionServer:
    """The server running in a thread of the calling process, keeping its files in `folder`."""

    def __init__(self, folder):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        (self.folder / "log").write_bytes(b"")
        self.reply(200, b"OK")
        self._server = None
        self._thread = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        self._server = _Server(self.folder)
        self._thread = threading.Thread(target=self._server.serve_forever, kwargs={"poll_interval": 0.05},
                                        name="subscription-server", daemon=True)
        self._thread.start()

    def stop(self):
        if self._server:
            self._server.stopping.set()
            self._server.shutdown()
            self._server.server_close()
            self._thread.join(timeout=10)
            self._server = None

    def reply(self, status, body, mode=""):
        """The reply to every later request; `mode` may carry its argument ("trickle 3")."""
        head = f"{status} {mode}".strip().encode("ascii")
        (self.folder / "reply").write_bytes(head + b"\n" + body)

    def events(self):
        text = (self.folder / "log").read_text(encoding="latin-1")
        return [[unescape(f) for f in line.split("\t")] for line in text.splitlines()]

    def requests(self):
        out = []
        for kind, *fields in self.events():
            if kind == "request":
                line, agent, query, *pairs = fields
                out.append({"line": line, "agent": agent, "query": query,
                            "params": list(zip(pairs[0::2], pairs[1::2]))})
        return out

    def connections(self):
        return [(int(f[0]), int(f[1])) for kind, *f in self.events() if kind == "connection"]

    def wait_connections(self, count, timeout=10.0):
        """The ended connections once there are at least `count` of them."""
        deadline = time.monotonic() + timeout
        while len(self.connections()) < count and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.connections()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dir", required=True, help="folder of the reply and log files")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="-- COMMAND ARGS...")
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command to run")
    with SubscriptionServer(args.dir):
        env = dict(os.environ, SONDREL_SUBSCRIPTION_SERVER=str(Path(args.dir).resolve()))
        return subprocess.call(command, env=env)


if __name__ == "__main__":
    sys.exit(main())
