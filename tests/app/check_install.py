#!/usr/bin/env python3
"""Installs the build into a fresh temporary prefix (cmake --install --prefix) and checks what a
desktop and a package manager find there: the files in their places, icons of their sizes, one
application ID throughout, the licence as LICENSE states it, and the validators' verdicts.
Exits 1 listing every problem found; a validator that is not installed is reported, not run."""

import argparse
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

problems = []

# Every size a launcher, a task switcher or a HiDPI panel asks the hicolor theme for.
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def desktop_entry(path):
    entry = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            key, sep, value = line.rstrip("\n").partition("=")
            if sep:
                entry[key] = value
    return entry


def words(text):
    return re.findall(r"[A-Za-z0-9\"()]+", text)


def check_licence(source, copyright_path):
    with open(os.path.join(source, "LICENSE"), encoding="utf-8") as f:
        licence = f.read()
    grant = licence[licence.index("Permission is hereby granted"):]
    with open(copyright_path, encoding="utf-8") as f:
        copyright_text = f.read()
    stanza = copyright_text.partition("\nLicense: MIT\n")[2]
    check(stanza, "copyright: no 'License: MIT' stanza")
    check(words(grant) == words(stanza.replace("\n .\n", "\n")),
          "copyright: the MIT text differs from LICENSE")
    with open(os.path.join(source, "README.md"), encoding="utf-8") as f:
        check("MIT" in f.read(), "README: does not name the MIT licence")


def check_manpage(manpage, program):
    env = dict(os.environ, MANPAGER="cat", MANWIDTH="80", LC_ALL="C.UTF-8")
    result = run(["man", "--warnings", "-l", manpage], env=env)
    check(result.returncode == 0 and not result.stderr.strip(),
          "man -l %s: %s" % (os.path.basename(manpage), result.stderr))
    check(re.search(r"^NAME\s*\n\s+%s\s+-\s" % program, result.stdout, re.M),
          "man -l: no NAME section naming " + program)


def check_command_line(prefix):
    """The command line companion: beside the window program, with its manual page, and no Qt."""
    binary = os.path.join(prefix, "bin", "vqcontacts")
    manpage = os.path.join(prefix, "share", "man", "man1", "vqcontacts.1.gz")
    if not check(os.access(binary, os.X_OK), "bin/vqcontacts: missing or not executable"):
        return
    if check(os.path.isfile(manpage), "missing: " + manpage):
        with gzip.open(manpage, "rb") as f:
            check(f.read(4) == b".TH ", "vqcontacts man page: not a manual page")
        if shutil.which("man"):
            check_manpage(manpage, "vqcontacts")
    if shutil.which("readelf"):
        needed = re.findall(r"\(NEEDED\).*\[(.*)\]", run(["readelf", "-d", binary]).stdout)
        check(needed and not [lib for lib in needed if lib.startswith("libQt")],
              "bin/vqcontacts links Qt: " + " ".join(needed))
    else:
        print("readelf not installed: the libraries of vqcontacts not checked")
    version = run([binary, "--version"])
    check(version.returncode == 0 and version.stdout.startswith("vqcontacts "),
          "vqcontacts --version: " + version.stdout + version.stderr)


def check_validators(desktop, metainfo, manpage):
    if shutil.which("desktop-file-validate"):
        result = run(["desktop-file-validate", desktop])
        check(result.returncode == 0 and not result.stdout.strip(),
              "desktop-file-validate: " + result.stdout + result.stderr)
    else:
        print("desktop-file-validate not installed: not run")
    if shutil.which("appstreamcli"):
        result = run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
        check(result.returncode == 0 and "Validation was successful" in result.stdout,
              "appstreamcli: " + result.stdout + result.stderr)
    else:
        print("appstreamcli not installed: not run")
    if shutil.which("man"):
        check_manpage(manpage, "vqcontactmgr")
    else:
        print("man not installed: not run")


def check_layout(prefix, app_id, sizes):
    share = os.path.join(prefix, "share")
    binary = os.path.join(prefix, "bin", "vqcontactmgr")
    check(os.access(binary, os.X_OK), "bin/vqcontactmgr: missing or not executable")
    for size in sizes:
        icon = os.path.join(share, "icons/hicolor/%dx%d/apps/%s.png" % (size, size, app_id))
        if check(os.path.isfile(icon), "icon missing: " + icon):
            found = png_size(icon)
            check(found == (size, size), "%s: is %s, not %d" % (icon, found, size))
    svg = os.path.join(share, "icons/hicolor/scalable/apps/%s.svg" % app_id)
    if check(os.path.isfile(svg), "scalable icon missing"):
        root = ET.parse(svg).getroot()
        check(root.tag == "{http://www.w3.org/2000/svg}svg", "scalable icon: not an SVG")
        box = root.get("viewBox", "").split()
        check(len(box) == 4 and box[2] == box[3], "scalable icon: viewBox is not square")

    desktop = os.path.join(share, "applications", app_id + ".desktop")
    metainfo = os.path.join(share, "metainfo", app_id + ".metainfo.xml")
    manpage = os.path.join(share, "man", "man1", "vqcontactmgr.1.gz")
    copyright_path = os.path.join(share, "doc", "vqcontactmgr", "copyright")
    for path in (desktop, metainfo, manpage, copyright_path):
        check(os.path.isfile(path), "missing: " + path)
    if problems:
        return None
    entry = desktop_entry(desktop)
    check(entry.get("Icon") == app_id, ".desktop: Icon is not the application ID")
    check(entry.get("Exec", "").split()[:1] == ["vqcontactmgr"],
          ".desktop: Exec is not vqcontactmgr")
    component = ET.parse(metainfo).getroot()
    check(component.findtext("id") == app_id, "metainfo: id is not the application ID")
    check(component.findtext("launchable[@type='desktop-id']") == app_id + ".desktop",
          "metainfo: launchable is not the .desktop file")
    check(component.findtext("project_license") == "MIT", "metainfo: project_license is not MIT")
    check(component.findtext("provides/binary") == "vqcontactmgr", "metainfo: binary not provided")
    with gzip.open(manpage, "rb") as f:
        check(f.read(4) == b".TH ", "man page: not a manual page")
    return desktop, metainfo, manpage, copyright_path


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--app-id", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vq-install-") as prefix:
        result = run(["cmake", "--install", args.build, "--prefix", prefix])
        if result.returncode != 0:
            print("FAIL: cmake --install:", result.stdout, result.stderr)
            return 1
        found = check_layout(prefix, args.app_id, ICON_SIZES)
        check_command_line(prefix)
        if found:
            desktop, metainfo, manpage, copyright_path = found
            check_licence(args.source, copyright_path)
            check_validators(desktop, metainfo, manpage)
    for problem in problems:
        print("FAIL:", problem)
    print("install layout: %s" % ("clean" if not problems else "%d problems" % len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
