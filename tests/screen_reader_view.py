"""Reads the running Kalibrix window as a screen reader does, through AT-SPI.

Usage: screen_reader_view.py before|after
Prints what it finds and exits non-zero when a control a screen reader needs
has no name, or when the graph's description does not say what it shows:
before a calculation that it appears after "Számol", afterwards the band and
both extremes with their frequencies.
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


def application(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    sys.exit(f"no application {name!r} on the accessibility bus")


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def main():
    stage = sys.argv[1]
    found = [(n.getRoleName(), n.name, n.description) for n in nodes(application("kalibrix"))]
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
        wanted = ["Számol"] if stage == "before" else [
            "0.520–1.620 MHz sávban", "Legnagyobb eltérés: ", "Legkisebb eltérés: ", " MHz-nél."]
        failures += [f"the graph's description lacks {w!r}" for w in wanted if w not in graphs[0]]
    print(f"{len(found)} accessible objects read")
    for failure in failures:
        print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)


main()
