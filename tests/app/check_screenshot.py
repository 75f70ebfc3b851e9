#!/usr/bin/env python3
"""Takes the README's picture of the main window again with scripts/screenshots, from this build's
program on its own virtual screen, and fails when its width or height differs from the committed
docs/main-window.png: a changed window layout must come with a new picture."""

import argparse
import os
import struct
import subprocess
import sys
import tempfile


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise SystemExit(f"{path} is not a PNG file")
    return struct.unpack(">II", head[16:24])


def take_screenshots(args, shots):
    env = dict(os.environ, VQ_APP=args.app, VQ_SHOTS=shots, QT_QPA_PLATFORM="xcb")
    try:
        run = subprocess.run(
            ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24",
             "bash", os.path.join(args.source, "scripts", "screenshots"), "--inside"],
            cwd=args.source, env=env, capture_output=True, text=True, timeout=150)
    except subprocess.TimeoutExpired as expired:
        sys.stderr.write(f"scripts/screenshots ran past {expired.timeout} s\n")
        return False
    if run.returncode != 0:
        sys.stderr.write(run.stdout + run.stderr + f"scripts/screenshots: exit {run.returncode}\n")
    return run.returncode == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--app", required=True)
    args = parser.parse_args()

    committed = os.path.join(args.source, "docs", "main-window.png")
    with tempfile.TemporaryDirectory() as shots:
        taken = os.path.join(shots, "main-window.png")
        # The script types the login only once the dialog is the active window.
        if not take_screenshots(args, shots) or not os.path.exists(taken):
            raise SystemExit("scripts/screenshots failed")
        now, then = png_size(taken), png_size(committed)
    if now != then:
        raise SystemExit(f"the main window is now {now[0]}x{now[1]}, the README's picture "
                         f"{then[0]}x{then[1]}: run scripts/screenshots and commit "
                         "docs/main-window.png")
    print(f"main window {now[0]}x{now[1]}, as in the README's picture")


if __name__ == "__main__":
    main()
