#!/usr/bin/env python3
"""A stand-in for the desktop's clipboard manager, speaking the freedesktop protocol GNOME's and
KDE's speak: it owns the CLIPBOARD_MANAGER selection; when a program on its way out asks it to
SAVE_TARGETS, it converts every target CLIPBOARD offers into its own window, answers, then owns
CLIPBOARD itself and serves what it saved until it is stopped. Prints "ready" once it owns
CLIPBOARD_MANAGER, and "saved N targets" after a save. Needs python3-xlib."""

import sys

from Xlib import X, display
from Xlib.protocol import event

# Targets that describe the selection rather than hold its data.
META_TARGETS = ("TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "DELETE", "INCR")


class Manager:
    def __init__(self):
        self.d = display.Display()
        self.win = self.d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                                      event_mask=X.PropertyChangeMask)
        self.atom = self.d.intern_atom
        self.saved = {}  # target atom -> (type atom, format, data)

    def own(self, name):
        self.win.set_selection_owner(self.atom(name), X.CurrentTime)
        self.d.flush()
        return self.d.get_selection_owner(self.atom(name)) == self.win

    def convert(self, target):
        """CLIPBOARD's data for target, as (type, format, data), or None."""
        prop = self.atom("_VQ_SAVED")
        self.win.convert_selection(self.atom("CLIPBOARD"), target, prop, X.CurrentTime)
        self.d.flush()
        while True:
            e = self.d.next_event()
            if e.type == X.SelectionNotify and e.requestor == self.win:
                break
        if e.property == X.NONE:
            return None
        got = self.win.get_full_property(prop, X.AnyPropertyType)
        self.win.delete_property(prop)
        if got is None or got.property_type == self.atom("INCR"):
            return None  # a contact is far below the size that needs incremental transfer
        return got.property_type, got.format, got.value

    def save(self, request):
        targets = self.convert(self.atom("TARGETS"))
        meta = {self.atom(name) for name in META_TARGETS}
        for target in (targets[2] if targets else []):
            if target not in meta:
                data = self.convert(target)
                if data:
                    self.saved[target] = data
        # Done: the property names the request, empty, and the ending program goes on.
        request.requestor.change_property(request.property, self.atom("NULL"), 32, [])
        self.notify(request, request.property)
        print(f"saved {len(self.saved)} targets", flush=True)
        self.own("CLIPBOARD")

    def serve(self, request):
        prop = request.property if request.property != X.NONE else request.target
        if request.target == self.atom("TARGETS"):
            request.requestor.change_property(prop, self.atom("ATOM"), 32,
                                              [self.atom("TARGETS"), *self.saved])
        elif request.target in self.saved:
            kind, fmt, data = self.saved[request.target]
            request.requestor.change_property(prop, kind, fmt, data)
        else:
            prop = X.NONE
        self.notify(request, prop)

    def notify(self, request, prop):
        answer = event.SelectionNotify(time=request.time, requestor=request.requestor,
                                       selection=request.selection, target=request.target,
                                       property=prop)
        request.requestor.send_event(answer)
        self.d.flush()

    def run(self):
        if not self.own("CLIPBOARD_MANAGER"):
            sys.exit("another clipboard manager runs")
        print("ready", flush=True)
        while True:
            e = self.d.next_event()
            if e.type != X.SelectionRequest:
                continue
            if e.selection == self.atom("CLIPBOARD_MANAGER") and e.target == self.atom("SAVE_TARGETS"):
                self.save(e)
            elif e.selection == self.atom("CLIPBOARD"):
                self.serve(e)
            else:
                self.notify(e, X.NONE)


if __name__ == "__main__":
    Manager().run()
