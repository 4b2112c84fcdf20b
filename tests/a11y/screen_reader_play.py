"""Plays Numerak as a screen-reader user does: through the accessibility tree alone.

Run inside a session bus and a display (see run_screen_reader_play.sh): starts the real program
with Qt's accessibility on, prints the tree of each window, plays Easy to a "sorry" box, reads it,
and quits. Exits non-zero when anything is not as a player would hear it.
"""

import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 40.0


def find_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "numerak":
            return app
    return None


def find(root, role, name):
    if root is None:
        return None
    if root.getRoleName() == role and root.name == name:
        return root
    for child in root:
        hit = find(child, role, name)
        if hit is not None:
            return hit
    return None


def wait_for(what, fn):
    deadline = time.time() + TIMEOUT
    while time.time() < deadline:
        try:
            value = fn()
        except Exception:  # the tree changes under us while windows come and go
            value = None
        if value:
            return value
        time.sleep(0.1)
    raise SystemExit(f"screen reader: gave up waiting for {what}")


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def tree(acc, depth=0, out=None):
    out = [] if out is None else out
    if depth == 0 or showing(acc):
        states = " checked" if acc.getState().contains(pyatspi.STATE_CHECKED) else ""
        out.append(f"{'  ' * depth}{acc.getRoleName()} {acc.name!r}{states}")
        for child in acc:
            if child is not None:
                tree(child, depth + 1, out)
    return out


def press(role, name):
    """Does the object's first action from another process: an action that opens a modal box
    gets its reply only when the box closes, so nobody here may wait for it."""
    return subprocess.Popen([sys.executable, __file__, "--press", role, name])


def press_now(role, name):
    acc = wait_for(f"{role} {name!r}", lambda: find(find_app(), role, name))
    acc.queryAction().doAction(0)


def box_text(box):
    return [c.name for c in box if c is not None and c.getRoleName() == "label" and c.name]


def descendants(acc, role):
    found = []
    for c in acc:
        if c is None:
            continue
        if c.getRoleName() == role:
            found.append(c)
        found.extend(descendants(c, role))
    return found


def box_buttons(box):
    return [b.name for b in descendants(box, "push button")]


def expect(what, got, wanted):
    print(f"{what}: {got!r}")
    if got != wanted:
        raise SystemExit(f"screen reader: {what} should be {wanted!r}")


def main(program):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    game = subprocess.Popen([program], env=env)
    presses = []
    try:
        opening = wait_for("the opening message", lambda: find(find_app(), "alert", "Select New game"))
        expect("opening message", box_text(opening), ["Please choose your preferred difficulty setting on the right."])
        expect("its buttons", box_buttons(opening), ["OK"])
        presses.append(press("push button", "OK"))

        frame = wait_for("the game window", lambda: find(find_app(), "frame", "Numerak"))
        wait_for("the difficulty panel", lambda: showing(find(frame, "radio button", "Easy")))
        print("\n".join(["game window:"] + tree(frame)))

        presses.append(press("menu item", "About"))
        about = wait_for("the About window", lambda: find(find_app(), "dialog", "About Numerak")
                         or find(find_app(), "frame", "About Numerak"))
        wait_for("the About window's buttons", lambda: find(about, "push button", "OK"))
        print("\n".join(["about window:"] + tree(about)))
        presses.append(press("push button", "OK"))
        wait_for("the About window to close", lambda: find(find_app(), "push button", "System Info...") is None)

        presses.append(press("radio button", "Easy"))
        wait_for("Easy chosen", lambda: find(frame, "radio button", "Easy").getState().contains(pyatspi.STATE_CHECKED))
        presses.append(press("push button", "Enter"))
        wait_for("the deal", lambda: not showing(find(frame, "radio button", "Easy")))
        label = next(c.name for c in descendants(frame, "label") if c.name.startswith("Please enter"))
        expect("instruction", label, "Please enter 4 numbers below. (1-5)")

        for box in ("First number", "Second number", "Third number", "Fourth number"):
            find(frame, "text", box).queryEditableText().setTextContents("9")
        presses.append(press("push button", "Guess"))
        sorry = wait_for("the sorry box", lambda: find(find_app(), "alert", "sorry"))
        expect("sorry box", box_text(sorry), ["You got 0 out of four, do you want to continue?"])
        expect("its buttons", sorted(box_buttons(sorry)), ["No", "Yes"])

        presses.append(press("push button", "No"))
        quit_box = wait_for("the quit question", lambda: find(find_app(), "alert", "Are you sure?"))
        expect("quit question", box_text(quit_box), ["Are you sure you want to quit?"])
        presses.append(press("push button", "Yes"))
        status = game.wait(timeout=TIMEOUT)
        expect("exit status", status, 0)
    finally:
        for p in presses:
            try:
                p.wait(timeout=5)
            except subprocess.TimeoutExpired:
                p.kill()
        if game.poll() is None:
            game.kill()
    print("the whole game was heard and played through the accessibility tree")


if __name__ == "__main__":
    if sys.argv[1:2] == ["--press"]:
        press_now(sys.argv[2], sys.argv[3])
    else:
        main(sys.argv[1])
