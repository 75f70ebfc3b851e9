"""The contact folder the demo server keeps: a directory of .vcf files, and its PROPFIND answer."""

import hashlib
import itertools
import os
import time
import urllib.parse
from xml.sax.saxutils import escape

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

    @staticmethod
    def valid_name(name):
        return bool(name) and "/" not in name and name not in (".", "..") and "\0" not in name

    def read(self, name):
        """The bytes of a contact, or None when there is no such file in the folder."""
        if not self.valid_name(name):
            return None
        path = os.path.join(self.directory, name)
        if not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def write(self, name, data):
        """Puts data under name whole or not at all: a new file is renamed into place."""
        path = os.path.join(self.directory, name)
        # In a folder of its own beside the contacts: a listing never shows a half-written file.
        staging = os.path.join(self.directory, ".staging")
        os.makedirs(staging, exist_ok=True)
        temporary = os.path.join(staging, "put-%d-%d" % (time.time_ns(), next(self._serial)))
        try:
            with open(temporary, "wb") as f:
                f.write(data)
            os.replace(temporary, path)
        except OSError:
            if os.path.exists(temporary):
                os.unlink(temporary)
            raise

    def remove(self, name):
        """Deletes a contact; False when there was none of that name."""
        try:
            os.unlink(os.path.join(self.directory, name))
            return True
        except FileNotFoundError:
            return False

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


def strong_etag(data):
    """A strong ETag of a contact's bytes: the same bytes, the same tag, on every server run."""
    return '"%s"' % hashlib.sha256(data).hexdigest()[:20]


def multistatus(names):
    """The folder itself first, as WebDAV servers list it, then one entry per contact."""
    entry = ("<D:response><D:href>%s</D:href><D:propstat><D:prop><D:isfolder>%d</D:isfolder>"
             "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>\r\n")
    responses = entry % (FOLDER_PATH + "/", 1) + "".join(
        entry % (escape(FOLDER_PATH + "/" + urllib.parse.quote(n)), 0) for n in names)
    return ('<?xml version="1.0" encoding="utf-8"?>\r\n'
            '<D:multistatus xmlns:D="DAV:">\r\n' + responses + "</D:multistatus>\r\n").encode("utf-8")
