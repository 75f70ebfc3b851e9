#!/usr/bin/env python3
"""A local contact-folder server in the HTTPMail dialect, for the demo and the end-to-end tests.

It keeps a folder of .vcf files as the contact folder /vqhttpmail/2/3/4/Contacts: PROPFIND lists
it as a 207 multistatus, GET answers a contact's bytes exactly, POST stores the body bytes exactly
under a fresh name. Every request needs HTTP Basic authentication with the given user and password.
Prints "listening on HOST:PORT" once on stdout when ready; logs one line per request on stderr.
With --tls-cert and --tls-key it speaks TLS only (Python's ssl, the system's OpenSSL). With
--raw-dir it keeps the bytes of each request as they came, one numbered file each, for tests that
compare requests inside and outside TLS, the name each TLS client asked for (SNI) and whether each
handshake resumed a session. With --tls-swap-file, a file naming "CERT\nKEY" switches the server to
that certificate for the connections that follow, as a server restarted with it. The fault
"tls-hang-up-on-resume" (fault file only) closes each connection whose client offers a session to
resume, in the middle of its handshake. PUT and DELETE on a contact's path write and remove it;
GET and PUT send a strong ETag (unless --no-etag), and If-Match and If-None-Match: * are honoured
with 412 where they fail. --refuse-put and --refuse-delete answer those 405; --keep-on-delete
answers a DELETE 200 and keeps the contact. Python 3 standard library only.
"""

import argparse
import base64
import binascii
import http.server
import os
import ssl
import sys
import threading
import urllib.parse

import samples
import tls
from faults import FAULTS, fault_named, fault_text
from folder import FOLDER_PATH, MAX_UPLOAD, ContactFolder, multistatus, strong_etag


class RecordingReader:
    """Reads through to the connection and keeps every byte read."""

    def __init__(self, inner):
        self.inner, self.kept = inner, bytearray()

    def readline(self, *args):
        line = self.inner.readline(*args)
        self.kept += line
        return line

    def read(self, *args):
        data = self.inner.read(*args)
        self.kept += data
        return data

    def __getattr__(self, name):
        return getattr(self.inner, name)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def setup(self):
        if self.server.raw_dir and isinstance(self.request, ssl.SSLSocket):
            self.request.do_handshake()
            self.server.keep_line("handshakes.txt", "resumed" if self.request.session_reused else "full")
        super().setup()
        if self.server.raw_dir:
            self.rfile = RecordingReader(self.rfile)

    def keep_raw(self):
        """Stores the request's bytes once, before any answer leaves, so a client that has its
        answer finds them stored."""
        if not self.server.raw_dir or not self.rfile.kept or getattr(self, "raw_kept", False):
            return
        self.raw_kept = True
        with self.server.raw_lock:
            self.server.raw_count += 1
            name = os.path.join(self.server.raw_dir, "%06d.bin" % self.server.raw_count)
        with open(name + ".new", "wb") as f:
            f.write(bytes(self.rfile.kept))
        os.rename(name + ".new", name)

    def send_response(self, code, message=None):
        self.keep_raw()
        super().send_response(code, message)

    def finish(self):
        self.keep_raw()
        super().finish()

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

    def etag_header(self, data):
        return [] if self.server.no_etag else [("ETag", strong_etag(data))]

    def answer_contact(self, data):
        self.answer(200, data, "text/x-vcard", extra=self.etag_header(data))

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
        fault = fault_named(self.server.current_fault())
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
        elif path.startswith(FOLDER_PATH + "/"):
            name = urllib.parse.unquote(path[len(FOLDER_PATH) + 1:])
            if self.command in ("GET", "HEAD"):
                data = folder.read(name)
                if data is not None:
                    return self.answer_contact(data)
            elif self.command in ("PUT", "DELETE") and folder.valid_name(name):
                return self.handle_write(folder, name)
        return self.answer_not_found()

    def preconditions_hold(self, current):
        """If-Match (a list of tags, or *) and If-None-Match: *, compared strongly (RFC 9110)."""
        if_match = self.headers.get("If-Match")
        if if_match is not None:
            tags = [t.strip() for t in if_match.split(",")]
            if current is None or ("*" not in tags and strong_etag(current) not in tags):
                return False
        if_none_match = self.headers.get("If-None-Match")
        if if_none_match is not None and if_none_match.strip() == "*" and current is not None:
            return False
        return True

    def handle_write(self, folder, name):
        refused = self.server.refuse_put if self.command == "PUT" else self.server.refuse_delete
        body = self.read_body()
        if refused:
            return self.answer(405, b"Method Not Allowed\r\n", extra=[("Allow", "GET, HEAD, POST, PROPFIND")])
        if body is None:
            return self.answer(413, b"Too Large\r\n")
        # A check and its write are one step: two writers never both pass the same precondition.
        with self.server.write_lock:
            current = folder.read(name)
            if not self.preconditions_hold(current):
                return self.answer(412, b"Precondition Failed\r\n")
            if self.command == "DELETE":
                if current is None:
                    return self.answer_not_found()
                if not self.server.keep_on_delete:
                    folder.remove(name)
                return self.answer(200, b"Deleted\r\n")
            folder.write(name, body)
        return self.answer(204 if current is not None else 201, b"", extra=self.etag_header(body))

    do_GET = do_HEAD = do_POST = do_PROPFIND = do_PUT = do_DELETE = handle_any

    def log_request(self, code="-", size="-"):
        sys.stderr.write("%s %s %s\n" % (self.command, self.path, code))
        sys.stderr.flush()

    def log_message(self, format, *args):
        pass  # one line per request is enough; log_request writes it



class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    fault = None
    fault_file = None
    raw_dir = None
    raw_count = 0
    raw_lock = threading.Lock()
    write_lock = threading.Lock()
    refuse_put = refuse_delete = keep_on_delete = no_etag = False

    def current_fault(self):
        """--fault, or else the name the fault file holds now (tests switch faults while running)."""
        if self.fault or not self.fault_file:
            return self.fault
        try:
            with open(self.fault_file, encoding="ascii") as f:
                return f.read().strip() or None
        except (OSError, UnicodeDecodeError):
            return None

    tls_source = None

    def keep_line(self, file_name, line):
        with self.raw_lock, open(os.path.join(self.raw_dir, file_name), "a", encoding="utf-8") as f:
            f.write(line + "\n")

    def keep_server_name(self, name):
        """Notes the name a TLS client asked for (SNI), one line per handshake; "-" for none."""
        self.keep_line("server-names.txt", name or "-")

    def get_request(self):
        """Each connection gets the TLS context in use when it comes. The handshake runs in the
        request's own thread, on its first read: a client that stalls or refuses the certificate
        holds up no one else."""
        sock, address = self.socket.accept()
        if not self.tls_source:
            return sock, address
        if self.current_fault() == "tls-hang-up-on-resume" and tls.offers_resumption(sock):
            sock.close()
            if self.raw_dir:
                self.keep_line("handshakes.txt", "hung up")
            raise OSError("hung up on a client resuming its session")  # the server loop drops it
        return self.tls_source.current().wrap_socket(sock, server_side=True, do_handshake_on_connect=False), address

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], (ConnectionError, ssl.SSLError)):
            return  # a client that hung up mid-answer, or refused our certificate, is no error of ours
        super().handle_error(request, client_address)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8080, help="0 picks a free port")
    parser.add_argument("--folder", required=True, help="directory of .vcf files (created if missing)")
    parser.add_argument("--user", default="demo")
    parser.add_argument("--password", default="demo")
    parser.add_argument("--fault", type=fault_text,
                        help="answer requests this way: one of %s, or reset-every=N, stall-after=N, "
                        "retry-after=S (S seconds, or - for no Retry-After)" % ", ".join(sorted(FAULTS)))
    parser.add_argument("--fault-file", help="a file naming the fault to use now; empty: none")
    parser.add_argument("--seed-samples", action="store_true", help="write the sample contacts first")
    parser.add_argument("--tls-cert", help="PEM certificate (chain) to serve TLS with; needs --tls-key")
    parser.add_argument("--tls-key", help="PEM private key of --tls-cert")
    parser.add_argument("--tls-swap-file", help='a file naming "CERT\\nKEY" to serve new connections with')
    parser.add_argument("--raw-dir", help="a directory to keep each request's bytes in")
    parser.add_argument("--refuse-put", action="store_true", help="answer every PUT 405")
    parser.add_argument("--refuse-delete", action="store_true", help="answer every DELETE 405")
    parser.add_argument("--no-etag", action="store_true", help="send no ETag header")
    parser.add_argument("--keep-on-delete", action="store_true",
                        help="answer a DELETE 200 but keep the contact, as a broken server does")
    args = parser.parse_args(argv)
    if bool(args.tls_cert) != bool(args.tls_key):
        parser.error("--tls-cert and --tls-key go together")

    folder = ContactFolder(args.folder)
    if args.seed_samples:
        samples.write_samples(folder.directory)
    server = Server((args.host, args.port), Handler)
    server.folder, server.user, server.password = folder, args.user, args.password
    server.fault, server.fault_file = args.fault, args.fault_file
    server.raw_dir = args.raw_dir
    server.refuse_put, server.refuse_delete = args.refuse_put, args.refuse_delete
    server.no_etag, server.keep_on_delete = args.no_etag, args.keep_on_delete
    if args.tls_cert:
        names = (lambda sock, name, ctx: server.keep_server_name(name)) if args.raw_dir else None
        server.tls_source = tls.TlsSource(args.tls_cert, args.tls_key, args.tls_swap_file or "", names)
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
