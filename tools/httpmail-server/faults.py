"""Faults: a server gone wrong, for the tests. Each takes the request and returns True when it
answered it; False lets the request through to the normal answer."""

import io
import socket
import struct
import threading
import time
import urllib.parse

from folder import multistatus

def answer_cut(h, status, body, content_type):
    """Announces the whole body, sends half of it and hangs up."""
    h.send_response(status)
    h.send_header("Content-Type", content_type)
    h.send_header("Content-Length", str(len(body)))
    h.end_headers()
    h.wfile.write(body[:len(body) // 2])
    h.wfile.flush()
    h.close_connection = True
    return True


def fault_cut_listing(h):
    if h.command != "PROPFIND":
        return False
    return answer_cut(h, 207, multistatus(h.server.folder.names()), "text/xml")


def fault_cut_contact(h):
    if h.command != "GET":
        return False
    return answer_cut(h, 200, BIG_VCARD_HEAD + b"x" * 4096 + b"\r\nEND:VCARD\r\n", "text/x-vcard")


def fault_silent(h):
    """Takes the request and never answers; waits until the client gives up and hangs up."""
    h.connection.settimeout(300)
    try:
        while h.connection.recv(4096):
            pass
    except OSError:
        pass
    h.close_connection = True
    return True


def fault_huge_contact(h):
    """A contact of 100 MiB, sent in 1 MiB pieces until the client stops reading."""
    if h.command != "GET":
        return False
    size, piece = 100 << 20, (b"NOTE:" + b"y" * 1017 + b"\r\n") * 1024
    h.send_response(200)
    h.send_header("Content-Type", "text/x-vcard")
    h.send_header("Content-Length", str(size))
    h.end_headers()
    try:
        for _ in range(size // len(piece)):
            h.wfile.write(piece)
    except OSError:
        pass  # the client hung up at its cap
    h.close_connection = True
    return True


def fault_garbage_status(h):
    h.wfile.write(b"SSH-2.0-OpenSSH_9.2\r\nProtocol mismatch.\r\n\r\n" + bytes(range(256)))
    h.close_connection = True
    return True


MANY_HREFS = 20000


def fault_many_hrefs(h):
    """A listing of 20,000 generated contacts; GET of one of them answers a small vCard."""
    path = urllib.parse.unquote(urllib.parse.urlsplit(h.path).path)
    if not h.authorized():
        return False
    if h.command == "PROPFIND":
        h.read_body()
        names = ["many%05d.vcf" % i for i in range(MANY_HREFS)]
        h.answer(207, multistatus(names), 'text/xml; charset="utf-8"')
        return True
    name = path.rsplit("/", 1)[-1]
    if h.command == "GET" and name.startswith("many"):
        h.answer_contact(b"BEGIN:VCARD\r\nFN:Many " + name[4:9].encode() + b"\r\nEND:VCARD\r\n")
        return True
    return False


BIG_VCARD_HEAD = b"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big Card\r\nPHOTO;ENCODING=b;TYPE=JPEG:"


def fault_big_contact(h):
    """Every contact is a 10 MiB vCard (a large photo)."""
    if h.command != "GET" or not h.authorized():
        return False
    line = b" " + b"QUJD" * 18 + b"\r\n"
    h.answer_contact(BIG_VCARD_HEAD + b"\r\n" + line * ((10 << 20) // len(line)) + b"END:VCARD\r\n")
    return True


BUSY = threading.Lock()


def one_at_a_time(hang_up):
    """A server that serves one connection at a time: a request that comes while another is being
    answered gets 503 (or, with hang_up, a closed connection and no answer at all)."""
    def fault(h):
        if not BUSY.acquire(blocking=False):
            if hang_up:
                h.close_connection = True
            else:
                h.answer(503, b"Busy\r\n")
            return True
        # The answer is made while busy and sent once free, so a client that has read it whole
        # never finds the server still busy with it.
        wire, h.wfile = h.wfile, io.BytesIO()
        try:
            time.sleep(0.02)  # long enough that the client's other connections arrive meanwhile
            h.handle_normally()
        finally:
            answer, h.wfile = h.wfile.getvalue(), wire
            BUSY.release()
        h.wfile.write(answer)
        return True
    return fault


def fault_late_first_contact(h):
    """The folder's first contact is answered half a second late; every other one at once."""
    names = h.server.folder.names()
    if h.command == "GET" and names and urllib.parse.unquote(h.path).endswith("/" + names[0]):
        time.sleep(0.5)
    return False


class Counter:
    """Numbers the requests a fault sees, from 1, across the server's threads."""

    def __init__(self):
        self.lock, self.count = threading.Lock(), 0

    def next(self):
        with self.lock:
            self.count += 1
            return self.count


def reset_now(h):
    """Ends the connection with a TCP reset (RST), not a clean close: what a flaky link does."""
    h.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    h.connection.close()
    h.wfile = io.BytesIO()  # the handler's own flush at the end goes nowhere
    h.close_connection = True
    return True


def reset_every(n):
    """Every n-th request is reset: in turn right after the request, after the answer's headers,
    and in the middle of its body."""
    counter = Counter()

    def fault(h):
        number = counter.next()
        if number % n:
            return False
        where = (number // n) % 3
        if where == 0:
            return reset_now(h)
        wire, h.wfile = h.wfile, io.BytesIO()
        h.handle_normally()
        answer, h.wfile = h.wfile.getvalue(), wire
        head_end = answer.find(b"\r\n\r\n") + 4
        h.wfile.write(answer[:head_end] if where == 1 else answer[:head_end + (len(answer) - head_end) // 2])
        h.wfile.flush()
        return reset_now(h)
    return fault


def stall_after(n):
    """The first n requests are answered; from then on the server takes requests and never
    answers, as one whose back end hangs."""
    counter = Counter()
    return lambda h: counter.next() > n and fault_silent(h)


def retry_after(seconds):
    """The first GET of each contact gets 503, with "Retry-After: seconds" unless seconds is "-";
    the next GET of it is answered."""
    asked, lock = set(), threading.Lock()
    extra = [] if seconds == "-" else [("Retry-After", seconds)]

    def fault(h):
        if h.command != "GET":
            return False
        with lock:
            first = h.path not in asked
            asked.add(h.path)
        if first:
            h.answer(503, b"Busy\r\n", extra=extra)
        return first
    return fault


def always_busy(seconds):
    """Every GET gets 503 with "Retry-After: seconds"."""
    return lambda h: h.command == "GET" and (h.answer(503, b"Busy\r\n", extra=[("Retry-After", seconds)]) or True)


def drip(seconds):
    """Each GET is answered whole, one byte every `seconds` seconds, until the client hangs up."""
    def fault(h):
        if h.command != "GET":
            return False
        wire, h.wfile = h.wfile, io.BytesIO()
        h.handle_normally()
        answer = h.wfile.getvalue()
        try:
            for byte in answer:
                wire.write(bytes([byte]))
                time.sleep(seconds)
        except OSError:
            pass  # the client gave up
        h.close_connection = True
        return True
    return fault


def refuse_after(n):
    """The first n requests are served; from then on every one gets 401, as when the password
    changes while a listing runs."""
    counter = Counter()
    return lambda h: counter.next() > n and (h.answer_unauthorized() or True)


def fault_post_unanswered(h):
    """A POST is stored, and its answer never sent: the server hangs before it replies."""
    if h.command != "POST":
        return False
    h.wfile = io.BytesIO()  # the answer goes nowhere
    h.handle_normally()
    return fault_silent(h)


HEAVY_BYTES, HEAVY_FIRST_DELAY = 40 * 1000 * 1000, 15


def heavy(count):
    """A listing of `count` generated contacts of 40 MB each; the first is answered after 15 s."""
    def fault(h):
        if not h.authorized():
            return False
        if h.command == "PROPFIND":
            h.read_body()
            h.answer(207, multistatus(["heavy%02d.vcf" % i for i in range(count)]), 'text/xml; charset="utf-8"')
            return True
        name = urllib.parse.unquote(h.path).rsplit("/", 1)[-1]
        if h.command != "GET" or not name.startswith("heavy"):
            return False
        if name == "heavy00.vcf":
            time.sleep(HEAVY_FIRST_DELAY)
        head = BIG_VCARD_HEAD + b"\r\n"
        tail = b"END:VCARD\r\n"
        h.answer_contact(head + b" " * (HEAVY_BYTES - len(head) - len(tail)) + tail)
        return True
    return fault


def _seconds(value):
    return float(value) if value.replace(".", "", 1).isdigit() else None


# Faults that take a value: "name=value", made once per value so that their counters persist. Each
# value check answers whether the text is valid.
FAULTS_WITH_VALUE = {
    "reset-every": (lambda value: reset_every(int(value)), lambda v: v.isdigit() and int(v) > 0),
    "stall-after": (lambda value: stall_after(int(value)), str.isdigit),
    "retry-after": (retry_after, lambda v: v == "-" or v.isdigit()),
    "always-503": (always_busy, str.isdigit),
    "drip": (lambda value: drip(float(value)), lambda v: _seconds(v) is not None),
    "refuse-after": (lambda value: refuse_after(int(value)), str.isdigit),
    "heavy": (lambda value: heavy(int(value)), lambda v: v.isdigit() and int(v) > 0),
}
_MADE, _MADE_LOCK = {}, threading.Lock()


def fault_named(text):
    """The fault a --fault text names, or None for none or an unknown one."""
    if not text or text in FAULTS:
        return FAULTS.get(text) if text else None
    name, _, value = text.partition("=")
    if name not in FAULTS_WITH_VALUE or not value:
        return None
    with _MADE_LOCK:
        if text not in _MADE:
            _MADE[text] = FAULTS_WITH_VALUE[name][0](value)
        return _MADE[text]


def fault_text(text):
    """argparse's check of --fault: a known name, or name=value with a valid value."""
    name, _, value = text.partition("=")
    if text in FAULTS or (name in FAULTS_WITH_VALUE and FAULTS_WITH_VALUE[name][1](value)):
        return text
    raise ValueError(text)


FAULTS = {
    "one-at-a-time": one_at_a_time(hang_up=False),
    "one-at-a-time-hang-up": one_at_a_time(hang_up=True),
    "late-first-contact": fault_late_first_contact,
    "forbidden": lambda h: h.answer(403, b"Forbidden\r\n") or True,
    "no-folder": lambda h: h.answer_not_found() or True,
    "server-error": lambda h: h.answer(500, b"Internal Server Error\r\n") or True,
    "not-webdav": lambda h: h.answer(200, b"<html><body>It works</body></html>\r\n", "text/html") or True,
    "cut-listing": fault_cut_listing,
    "cut-contact": fault_cut_contact,
    "silent": fault_silent,
    "huge-contact": fault_huge_contact,
    "garbage-status": fault_garbage_status,
    "many-hrefs": fault_many_hrefs,
    "big-contact": fault_big_contact,
    "post-unanswered": fault_post_unanswered,
}
