# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running Kalibrix window as a screen reader does, through AT-SPI.

Usage:
  screen_reader_view.py before|after
      Prints what it finds and exits non-zero when a control a screen reader
      needs has no name, or when the graph's description does not say what it
      shows: before a calculation that it appears after "Számol", afterwards
      the band and both extremes with their frequencies (waited for up to
      30 s, until the calculation has run).
  screen_reader_view.py places PID NAME...
      Once every NAME is on the screen (up to 30 s), prints "x y width height
      name" in screen pixels for every named control of the program of process
      PID that is on the screen.
  screen_reader_view.py focused PID NAME
      Exits 0 once the control NAME holds the keyboard focus, non-zero if it
      does not within 20 s.
Every wait is bounded and ends with a message that says what it waited for.
"""
import sys
import time

import pyatspi

# Names every user of a screen reader must hear, by AT-SPI role.
EXPECTED = {
    "text": [
        "C_h_min ( pf )", "C_h_max ( pf )", "középfrekvencia ( MHz )", "fmin ( MHz)",
        "fmax ( MHz)", "C szórt kapacitás ( pf )", "Mentés neve",
        "Bemenő kör ( uH, pf ): Lb", "Bemenő kör ( uH, pf ): Cp_b",
        "Oszcillátor kör ( uH, pf ): Lo", "Oszcillátor kör ( uH, pf ): Cp_o",
        "Együttfutási pontok ( MHz ): F1", "Együttfutási pontok ( MHz ): F2",
        "Hangoló kapacitás ( pf ): Ch – első együttfutási pont",
        "Hangoló kapacitás ( pf ): Ch – második együttfutási pont",
        "Maximális eltérések: (Hz) – legnagyobb", "Maximális eltérések: (Hz) – legkisebb",
    ],
    "push button": ["Számol", "Kilép"],
    "image": ["Kapcsolási rajz"],
    "chart": ["A bemenőkör elhangolódása"],
    "panel": ["Bemeneti adatok", "Kimeneti datok", "Bemenő kör ( uH, pf )",
              "Oszcillátor kör ( uH, pf )", "Együttfutási pontok ( MHz )",
              "Hangoló kapacitás ( pf )", "Maximális eltérések"],
}
GRAPH = "A bemenőkör elhangolódása"
CALCULATED = ["0.520–1.620 MHz sávban", "Legnagyobb eltérés: ", "Legkisebb eltérés: ", " MHz-nél."]


def poll(seconds, what, attempt):
    """Returns attempt()'s first true answer; exits saying `what` after `seconds`."""
    deadline = time.time() + seconds
    while True:
        try:
            answer = attempt()
        except Exception:  # an object that went away while it was read
            answer = None
        if answer:
            return answer
        if time.time() >= deadline:
            sys.exit(f"FAIL: waited {seconds} s for {what}")
        time.sleep(0.2)


def application(pid=None):
    def find():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "kalibrix" and (
                    pid is None or app.get_process_id() == pid):
                return app
        return None
    return poll(20, "the application kalibrix on the accessibility bus", find)


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def extents(node):
    """Screen extents of a control that is on the screen, else None."""
    try:
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            return None
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:  # the application itself has no place
        return None
    return (box.x, box.y, box.width, box.height) if box.width > 0 and box.height > 0 else None


def places(pid, names):
    app = application(pid)

    def read():
        # A label bears the name of the field it names: the field is meant.
        found = {n.name: extents(n) for n in nodes(app) if n.name and n.getRoleName() != "label"}
        found = {name: box for name, box in found.items() if box}
        return found if all(name in found for name in names) else None
    for name, (x, y, width, height) in poll(30, f"{names} on the screen", read).items():
        print(x, y, width, height, name)


def focused(pid, name):
    app = application(pid)
    poll(20, f"the keyboard focus in {name!r}", lambda: any(
        n.name == name and n.getState().contains(pyatspi.STATE_FOCUSED) for n in nodes(app)))


def view(stage):
    app = application()
    found = [(n.getRoleName(), n.name, n.description) for n in nodes(app)]
    if stage == "after":
        poll(30, "the graph's description of a calculation", lambda: all(
            w in n.description for n in nodes(app) if n.name == GRAPH for w in CALCULATED))
        found = [(n.getRoleName(), n.name, n.description) for n in nodes(app)]
    failures = []
    for role, names in EXPECTED.items():
        for name in names:
            if not any(r == role and n == name for r, n, _ in found):
                failures.append(f"no {role} named {name!r}")
    graphs = [d for _, n, d in found if n == GRAPH]
    if not graphs:
        failures.append(f"no graph named {GRAPH!r}")
    else:
        print(f"graph: {graphs[0]}")
        wanted = ["Számol"] if stage == "before" else CALCULATED
        failures += [f"the graph's description lacks {w!r}" for w in wanted if w not in graphs[0]]
    print(f"{len(found)} accessible objects read")
    for failure in failures:
        print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)


def main():
    mode = sys.argv[1]
    if mode == "places":
        places(int(sys.argv[2]), sys.argv[3:])
    elif mode == "focused":
        focused(int(sys.argv[2]), sys.argv[3])
    else:
        view(mode)


main()
