#!/usr/bin/env python3
"""A local contact-folder server in the HTTPMail dialect, for the demo and the end-to-end tests.

It keeps a folder of .vcf files as the contact folder /vqhttpmail/2/3/4/Contacts: PROPFIND lists
it as a 207 multistatus, GET answers a contact's bytes exactly, POST stores the body bytes exactly
under a fresh name. Every request needs HTTP Basic authentication with the given user and password.
Prints "listening on HOST:PORT" once on stdout when ready; logs one line per request on stderr.
Python 3 standard library only.
"""

import argparse
import base64
import binascii
import http.server
import io
import itertools
import os
import sys
import threading
import time
import urllib.parse
from xml.sax.saxutils import escape

import samples

FOLDER_PATH = "/vqhttpmail/2/3/4/Contacts"
MAX_UPLOAD = 64 << 20


class ContactFolder:
    """The .vcf files of one directory, addressed by file name."""

    def __init__(self, directory):
        self.directory = os.path.abspath(directory)
        os.makedirs(self.directory, exist_ok=True)
        self._serial = itertools.count(1)

    def names(self):
        return sorted(n for n in os.listdir(self.directory)
                      if os.path.isfile(os.path.join(self.directory, n)))

    def read(self, name):
        """The bytes of a contact, or None when there is no such file in the folder."""
        if not name or "/" in name or name in (".", "..") or "\0" in name:
            return None
        path = os.path.join(self.directory, name)
        if not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def store(self, data):
        """Writes data under a fresh name; a failed write leaves no file behind."""
        while True:
            name = "upload-%d-%d.vcf" % (time.time_ns(), next(self._serial))
            path = os.path.join(self.directory, name)
            try:
                fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
            except FileExistsError:
                continue
            try:
                with os.fdopen(fd, "wb") as f:
                    f.write(data)
            except OSError:
                os.unlink(path)
                raise
            return name


def multistatus(names):
    """The folder itself first, as WebDAV servers list it, then one entry per contact."""
    entry = ("<D:response><D:href>%s</D:href><D:propstat><D:prop><D:isfolder>%d</D:isfolder>"
             "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>\r\n")
    responses = entry % (FOLDER_PATH + "/", 1) + "".join(
        entry % (escape(FOLDER_PATH + "/" + urllib.parse.quote(n)), 0) for n in names)
    return ('<?xml version="1.0" encoding="utf-8"?>\r\n'
            '<D:multistatus xmlns:D="DAV:">\r\n' + responses + "</D:multistatus>\r\n").encode("utf-8")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def version_string(self):
        return "VelqorHTTPMail/1.0"

    # --- answers: one function each, so fault modes can replace them ---

    def answer(self, status, body=b"", content_type="text/plain", extra=()):
        self.send_response(status)
        for name, value in extra:
            self.send_header(name, value)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def answer_unauthorized(self):
        self.answer(401, b"Unauthorized\r\n",
                    extra=[("WWW-Authenticate", 'Basic realm="Velqor HTTPMail"')])

    def answer_not_found(self):
        self.answer(404, b"Not Found\r\n")

    def answer_listing(self):
        self.answer(207, multistatus(self.server.folder.names()), 'text/xml; charset="utf-8"')

    def answer_contact(self, data):
        self.answer(200, data, "text/x-vcard")

    def answer_stored(self, name):
        self.answer(201, b"Created\r\n", extra=[("Location", FOLDER_PATH + "/" + urllib.parse.quote(name))])

    # --- dispatch ---

    def authorized(self):
        value = self.headers.get("Authorization", "")
        scheme, _, token = value.partition(" ")
        if scheme.lower() != "basic":
            return False
        try:
            user, _, password = base64.b64decode(token.strip(), validate=True).decode("cp1252").partition(":")
        except (binascii.Error, UnicodeDecodeError):
            return False
        return user == self.server.user and password == self.server.password

    def read_body(self):
        try:
            length = int(self.headers.get("Content-Length", "0"))
        except ValueError:
            return None
        if length < 0 or length > MAX_UPLOAD:
            return None
        return self.rfile.read(length)

    def handle_any(self):
        fault = FAULTS.get(self.server.current_fault())
        if fault and fault(self):
            return None
        return self.handle_normally()

    def handle_normally(self):
        path = urllib.parse.urlsplit(self.path).path
        if not self.authorized():
            return self.answer_unauthorized()
        folder = self.server.folder
        if path.rstrip("/") == FOLDER_PATH:
            if self.command == "PROPFIND":
                self.read_body()
                return self.answer_listing()
            if self.command == "POST":
                body = self.read_body()
                if body is None:
                    return self.answer(413, b"Too Large\r\n")
                return self.answer_stored(folder.store(body))
        elif path.startswith(FOLDER_PATH + "/") and self.command in ("GET", "HEAD"):
            data = folder.read(urllib.parse.unquote(path[len(FOLDER_PATH) + 1:]))
            if data is not None:
                return self.answer_contact(data)
        return self.answer_not_found()

    do_GET = do_HEAD = do_POST = do_PROPFIND = do_PUT = do_DELETE = handle_any

    def log_request(self, code="-", size="-"):
        sys.stderr.write("%s %s %s\n" % (self.command, self.path, code))
        sys.stderr.flush()

    def log_message(self, format, *args):
        pass  # one line per request is enough; log_request writes it


# --- faults: a server gone wrong, for the tests. Each takes the request and returns True when it
# answered it; False lets the request through to the normal answer. ---

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
}


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    fault = None
    fault_file = None

    def current_fault(self):
        """--fault, or else the name the fault file holds now (tests switch faults while running)."""
        if self.fault or not self.fault_file:
            return self.fault
        try:
            with open(self.fault_file, encoding="ascii") as f:
                return f.read().strip() or None
        except (OSError, UnicodeDecodeError):
            return None

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], ConnectionError):
            return  # a client that hung up mid-answer is no error of ours
        super().handle_error(request, client_address)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8080, help="0 picks a free port")
    parser.add_argument("--folder", required=True, help="directory of .vcf files (created if missing)")
    parser.add_argument("--user", default="demo")
    parser.add_argument("--password", default="demo")
    parser.add_argument("--fault", choices=sorted(FAULTS), help="answer requests this way")
    parser.add_argument("--fault-file", help="a file naming the fault to use now; empty: none")
    parser.add_argument("--seed-samples", action="store_true", help="write the sample contacts first")
    args = parser.parse_args(argv)

    folder = ContactFolder(args.folder)
    if args.seed_samples:
        samples.write_samples(folder.directory)
    server = Server((args.host, args.port), Handler)
    server.folder, server.user, server.password = folder, args.user, args.password
    server.fault, server.fault_file = args.fault, args.fault_file
    host, port = server.server_address[:2]
    print("listening on %s:%d" % (host, port), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
