"""TLS for the demo server: the context connections are served with, which tests may swap for a
new certificate while the server runs, and a look at a client's first bytes for a session it asks
to resume."""

import socket
import ssl
import time

PRE_SHARED_KEY = 41  # TLS 1.3: the client offers a session to resume
SESSION_TICKET = 35  # TLS 1.2: a non-empty ticket is a session to resume


class TlsSource:
    """The certificate and key in use: those given at start, or the pair the swap file names now
    ("CERT\\nKEY"). A new pair gets a new context, so tickets the old one issued no longer resume:
    the server acts as one restarted with a new certificate."""

    def __init__(self, cert, key, swap_file, sni_callback=None):
        self.swap_file, self.sni_callback = swap_file, sni_callback
        self.pair, self.context = None, None
        self.use((cert, key))

    def use(self, pair):
        if pair == self.pair:
            return
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*pair)
        if self.sni_callback:
            context.sni_callback = self.sni_callback
        self.pair, self.context = pair, context

    def current(self):
        try:
            with open(self.swap_file, encoding="utf-8") as f:
                lines = f.read().split("\n")
            if len(lines) >= 2 and lines[0] and lines[1]:
                self.use((lines[0], lines[1]))
        except (OSError, ssl.SSLError):
            pass  # no swap asked for, or one half written: the pair in use stays
        return self.context


def _extensions(hello):
    """The (type, data) extensions of a ClientHello handshake message; empty when malformed."""
    at = 4 + 2 + 32  # handshake header, version, random
    try:
        at += 1 + hello[at]  # session id
        at += 2 + int.from_bytes(hello[at:at + 2], "big")  # cipher suites
        at += 1 + hello[at]  # compression methods
        end = at + 2 + int.from_bytes(hello[at:at + 2], "big")
        at += 2
        found = []
        while at + 4 <= end:
            kind, length = int.from_bytes(hello[at:at + 2], "big"), int.from_bytes(hello[at + 2:at + 4], "big")
            found.append((kind, hello[at + 4:at + 4 + length]))
            at += 4 + length
        return found
    except IndexError:
        return []


def offers_resumption(sock, wait=2.0):
    """True when the client's ClientHello (peeked, left unread) offers a session to resume."""
    deadline = time.monotonic() + wait
    data = b""
    while time.monotonic() < deadline:
        sock.settimeout(max(0.01, deadline - time.monotonic()))
        try:
            data = sock.recv(16384, socket.MSG_PEEK)
        except OSError:
            return False
        finally:
            sock.settimeout(None)
        if len(data) >= 5 and len(data) >= 5 + int.from_bytes(data[3:5], "big"):
            break
        if not data:
            return False
        time.sleep(0.005)
    if len(data) < 9 or data[0] != 22 or data[5] != 1:
        return False
    return any(kind == PRE_SHARED_KEY or (kind == SESSION_TICKET and body)
               for kind, body in _extensions(data[5:]))
