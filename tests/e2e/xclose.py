#!/usr/bin/python3
"""Asks a window to close the way a window manager does (WM_DELETE_WINDOW).

xclose.py --intern   creates the atom, so a program started afterwards can
                     register for it (a bare Xvfb has no window manager that
                     would have created it).
xclose.py WINDOW_ID  sends the close request to the window.
"""
import sys

from Xlib import X, display
from Xlib.protocol import event


def main():
    d = display.Display()
    delete = d.intern_atom("WM_DELETE_WINDOW")
    protocols = d.intern_atom("WM_PROTOCOLS")
    if sys.argv[1] == "--intern":
        d.sync()
        return
    win = d.create_resource_object("window", int(sys.argv[1]))
    ev = event.ClientMessage(window=win, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    win.send_event(ev, event_mask=X.NoEventMask)
    d.sync()


if __name__ == "__main__":
    main()
