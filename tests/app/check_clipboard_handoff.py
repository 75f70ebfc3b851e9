#!/usr/bin/env python3
"""Copy, then Cancel, then a paste in another program: the contact's bytes must still be there.
Runs the real program on its own virtual screen beside a clipboard manager (clipboard_manager.py),
logs in, copies the only contact with Ctrl+C, starts a listing the server never answers, and
presses Cancel. The program must end at once (its transfer aborted, not waited out), and
`xclip -o -selection clipboard -t text/vcard` must then give the contact's exact bytes, served by
the manager the program handed them to."""

import argparse
import os
import select
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CONTACT = b"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xc3\xbcrgen Handoff\r\nNOTE:kept after the end\r\nEND:VCARD\r\n"
# The idle limit is 60 s: a program that waited for its transfer would take that long.
QUICK_END = 5.0


def wait_for(what, check, seconds=30.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = check()
        if result:
            return result
        time.sleep(0.05)
    raise SystemExit(f"gave up waiting for {what}")


def run(*command):
    return subprocess.run(command, capture_output=True, timeout=30)


def window_named(title):
    found = run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").stdout.split()
    return found[0].decode() if found else None


def active_window_is(window):
    return run("xdotool", "getactivewindow").stdout.strip().decode() == window


def activate(window, seconds=30.0):
    """Keys go where the focus is: only once the window is active do they reach it. The window
    manager may miss a request made while it maps the window, so one is made each second."""
    deadline = time.monotonic() + seconds
    asked = 0.0
    while not active_window_is(window):
        if time.monotonic() > deadline:
            raise SystemExit(f"window {window} never became active")
        if time.monotonic() - asked > 1.0:
            run("xdotool", "windowactivate", window)
            asked = time.monotonic()
        time.sleep(0.05)


def keys(window, *names):
    activate(window)
    for name in names:
        if name.startswith("type:"):
            run("xdotool", "type", "--delay", "20", name[5:])
        else:
            run("xdotool", "key", name)


def clipboard_vcard():
    got = run("xclip", "-o", "-selection", "clipboard", "-t", "text/vcard")
    return got.stdout if got.returncode == 0 else None


def line_within(stream, seconds):
    """The next line of stream, or None when none comes in time."""
    ready, _, _ = select.select([stream], [], [], seconds)
    return stream.readline().strip() if ready else None


def python_with_xlib():
    # Debian's python3-xlib is for Debian's own interpreter, which may not be the one running this.
    for candidate in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([candidate, "-c", "import Xlib"], capture_output=True).returncode == 0:
            return candidate
    raise SystemExit("no Python with python3-xlib (scripts/packages.txt lists it)")


def connection_open(port):
    """Whether a TCP connection to the port stands (the listing waiting for its answer)."""
    with open("/proc/net/tcp") as table:
        rows = [line.split() for line in table.readlines()[1:]]
    return any(row[3] == "01" and row[1].endswith(f":{port:04X}") for row in rows)


def inside(app):
    started = []
    work = tempfile.mkdtemp()
    try:
        folder = os.path.join(work, "contacts")
        os.mkdir(folder)
        with open(os.path.join(folder, "handoff.vcf"), "wb") as f:
            f.write(CONTACT)
        fault = os.path.join(work, "fault")
        open(fault, "w").close()
        started.append(subprocess.Popen(["icewm"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        server = subprocess.Popen(
            [sys.executable, os.path.join(HERE, "..", "..", "tools", "httpmail-server", "httpmail_server.py"),
             "--host", "127.0.0.1", "--port", "0", "--folder", folder, "--user", "demo", "--password", "demo",
             "--fault-file", fault], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        started.append(server)
        port = int(server.stdout.readline().split(":")[-1])
        manager = subprocess.Popen([python_with_xlib(), os.path.join(HERE, "clipboard_manager.py")],
                                   stdout=subprocess.PIPE, text=True)
        started.append(manager)
        if manager.stdout.readline().strip() != "ready":
            raise SystemExit("the clipboard manager did not start")

        program = subprocess.Popen([app], env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        started.append(program)
        login = wait_for("the login dialog", lambda: window_named("Velqor Authenticatication"))
        # The user name box has the focus; Tab walks password, server, port, Login.
        keys(login, "type:demo", "Tab", "type:demo", "Tab", "Tab", "ctrl+a", f"type:{port}", "Tab", "space")
        main = wait_for("the listing", lambda: window_named("Velqor Personal Contacts Manager"))
        keys(main, "Down", "ctrl+c")
        wait_for("the contact on the clipboard", lambda: clipboard_vcard() == CONTACT)

        with open(fault, "w") as f:
            f.write("silent")
        keys(main, "F5")
        wait_for("the listing's request", lambda: connection_open(port))
        keys(main, "alt+c")
        cancelled = time.monotonic()
        try:
            status = program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise SystemExit("the program did not end within 30 s of Cancel")
        ended = time.monotonic() - cancelled
        saved = line_within(manager.stdout, 5.0) or "saved nothing"
        pasted = clipboard_vcard()
    finally:
        for process in reversed(started):
            if process.poll() is None:
                process.kill()
                process.wait()
        subprocess.run(["rm", "-rf", work])
    print(f"Cancel during a listing in flight: the program ended in {ended:.2f} s with status {status}; "
          f"the manager {saved}; the paste after the end gave {len(pasted or b'')} bytes")
    if status != 0:
        raise SystemExit(f"exit status {status}, not 0")
    if ended > QUICK_END:
        raise SystemExit(f"the program took {ended:.2f} s to end, more than {QUICK_END} s")
    if pasted != CONTACT:
        raise SystemExit(f"the paste after the end gave {pasted!r}, not the contact's bytes")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--app", required=True)
    parser.add_argument("--inside", action="store_true", help="already on the virtual screen")
    args = parser.parse_args()
    if args.inside:
        inside(args.app)
        return
    done = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", sys.executable,
                           os.path.abspath(__file__), "--inside", "--app", args.app], timeout=240)
    sys.exit(done.returncode)


if __name__ == "__main__":
    main()
