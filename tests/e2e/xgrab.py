#!/usr/bin/python3
"""Tries, as a second X client would, to grab the pointer and the keyboard,
lets go at once, and prints what the X server answered:
"pointer=<state> keyboard=<state>", each state "free" (the grab succeeded)
or "taken" (another client holds it), or the server's other answer."""
from Xlib import X, display

ANSWERS = {X.GrabSuccess: "free", X.AlreadyGrabbed: "taken", X.GrabNotViewable: "not-viewable",
           X.GrabFrozen: "frozen", X.GrabInvalidTime: "invalid-time"}

d = display.Display()
root = d.screen().root
pointer = root.grab_pointer(False, X.ButtonPressMask, X.GrabModeAsync, X.GrabModeAsync,
                            X.NONE, X.NONE, X.CurrentTime)
keyboard = root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
d.ungrab_pointer(X.CurrentTime)
d.ungrab_keyboard(X.CurrentTime)
d.sync()
print("pointer=%s keyboard=%s" % (ANSWERS.get(pointer, pointer), ANSWERS.get(keyboard, keyboard)))
