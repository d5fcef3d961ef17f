#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# screenreader.py GAME GTK_THEME_PLUGIN: a whole game as a screen reader plays it, over the real
# accessibility bus (a session bus of its own, at-spi2-core, pyatspi; the game on Xvfb, run from a
# copy in a temporary folder, which takes its Records.dat). The game runs as on GNOME, where screen
# readers are most used: under Qt's GTK 3 platform theme, which starts GTK, whose own bridge must
# not add a second, empty application of the game's name to the bus. Exits 77 when a program it
# needs is missing.
import os, shutil, subprocess, sys, tempfile, time

if "PIRK_OWN_BUS" not in os.environ:
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        sys.exit(print("skipped: missing python3-pyatspi") or 77)
    for needed in ("dbus-run-session", "Xvfb", "/usr/share/dbus-1/services/org.a11y.Bus.service",
                   sys.argv[2]):
        if not shutil.which(needed) and not os.path.exists(needed):
            sys.exit(print("skipped: missing " + needed) or 77)
    os.environ["PIRK_OWN_BUS"] = "1"
    sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv))

import pyatspi


def wait_for(probe, what, timeout=10.0):
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        assert time.monotonic() < deadline, "timed out waiting for " + what
        time.sleep(0.02)
    return value


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def find(root, name, role=None):
    """The first node under root named name (any name when None) in that role (any when None)."""
    return next((n for n in nodes(root) if name in (None, n.name.rstrip())
                 and role in (None, n.getRole())), None)


def press(node):
    """Runs the node's press action; returns how long the call took, in milliseconds."""
    start = time.monotonic()
    node.queryAction().doAction(0)
    return (time.monotonic() - start) * 1000


def window(app, title):
    return next((w for w in app if w is not None and w.name == title
                 and w.getState().contains(pyatspi.STATE_SHOWING)), None)


def play(app):
    main = wait_for(lambda: window(app, "Пирк-Перк"), "the main window")
    tiles = lambda: [n for n in nodes(main) if n.name.startswith("Ряд ")]
    board = lambda: [0 if t.name.endswith("красная фишка") else 1 for t in tiles()]
    counter = lambda: int(next(n for n in nodes(main) if n.name.startswith("Ходов")).name[15:])
    button = lambda root, name: find(root, name, pyatspi.ROLE_PUSH_BUTTON)

    # Pressing tile (i, j) flips row i and column j: press it when blue(row i) + blue(column j)
    # - blue(i, j) is odd. A board dealt all red is won by pressing one tile twice.
    blue = board()
    rows = [sum(blue[4 * i:4 * i + 4]) for i in range(4)]
    columns = [sum(blue[j::4]) for j in range(4)]
    moves = [k for k in range(16) if (rows[k // 4] + columns[k % 4] - blue[k]) % 2] or [0, 0]
    for n, k in enumerate(moves[:-1], start=1):
        press(tiles()[k])
        wait_for(lambda: counter() == n, f"move {n}")
    took = press(tiles()[moves[-1]])
    prompt = window(app, "Рекорд")
    print(f"the winning press returned in {took:.1f} ms, the name prompt "
          f"{'still to come' if prompt is None else 'already open'}")
    prompt = wait_for(lambda: window(app, "Рекорд"), "the name prompt")
    assert took < 1000 and board() == [0] * 16

    find(prompt, None, pyatspi.ROLE_TEXT).queryEditableText().setTextContents("Робот")
    press(button(prompt, "OK"))
    for after_win in (True, False):  # then opened by the records button
        records = wait_for(lambda: window(app, "Рекордсмены"), "the records window")
        result = find(records, f"Вы справились за {len(moves)} ходов")
        assert find(records, "Робот") and (result is not None) == after_win
        behind = [tiles()[5], button(main, "Новая"), find(main, "Новая", pyatspi.ROLE_MENU_ITEM)]
        took = max(press(control) for control in behind)
        print(f"presses behind the records window returned in at most {took:.1f} ms")
        time.sleep(0.5)  # a button's press is an animated click, a tenth of a second long
        assert window(app, "Рекордсмены"), "an action behind the records window closed it"
        press(button(records, "Ok!"))
        wait_for(lambda: not window(app, "Рекордсмены"), "the records window to close")
        time.sleep(0.3)
        assert board() == [0] * 16 and counter() == len(moves), "an action behind it ran"
        if after_win:
            press(button(main, "Рекорды"))

    press(button(main, "Выход"))
    press(button(wait_for(lambda: window(app, "Пирк - Перк"), "the exit question"), "Да"))


with tempfile.TemporaryDirectory() as folder:
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24"], pass_fds=[write])
    os.close(write)
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    game = subprocess.Popen([shutil.copy(sys.argv[1], folder)],
                            env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                     QT_QPA_PLATFORM="xcb", QT_QPA_PLATFORMTHEME="gtk3",
                                     XDG_CURRENT_DESKTOP="GNOME", HOME=folder))
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        games = lambda: [app for app in desktop if app is not None and app.name == "pirk-perk"]
        wait_for(lambda: any(window(app, "Пирк-Перк") for app in games()), "the game")
        time.sleep(1)  # room for a late second registration
        assert len(games()) == 1, f"{len(games())} applications named pirk-perk on the bus"
        play(games()[0])
        assert game.wait(timeout=10) == 0, "the game did not end cleanly after Да"
        saved = open(os.path.join(folder, "Records.dat"), "rb").read()
        assert len(saved) == 60 and "Робот".encode("cp1251") in saved, saved
    finally:
        game.kill()
        xvfb.terminate()
print("PASS")
