#!/usr/bin/python3
"""screenreader.py GAME

Plays the game as a screen reader does, over the real accessibility bus: a session bus of its
own (dbus-run-session), at-spi2-core, the game on a headless X display (Xvfb), and this client
reading and pressing through pyatspi. It reads the board from the tiles' names, wins by their
press actions, answers the name prompt, and checks that no action behind a modal window changes
anything. The game runs from a copy in a temporary folder, which takes its Records.dat.

Exits 77 (skipped) when a program it needs is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
NAME = "Робот"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(probe, what, timeout=10.0):
    """The first true value of probe() within timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.02)


def find(node, test):
    """The first node under node (itself included), depth first, that passes test."""
    if test(node):
        return node
    for i in range(node.childCount):
        child = node[i]
        found = child is not None and find(child, test)
        if found:
            return found
    return None


def find_all(node, test, found=None):
    found = [] if found is None else found
    if test(node):
        found.append(node)
    for i in range(node.childCount):
        if node[i] is not None:
            find_all(node[i], test, found)
    return found


def press(node):
    """Runs the node's press action and returns how long the call took, in seconds."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"{node.name!r} has no press action: {names}")
    start = time.monotonic()
    try:
        action.doAction(names.index("Press"))
    except Exception as error:  # the bus gives up on a call that is not answered
        raise Failure(f"the press on {node.name!r} did not return: {error}")
    return time.monotonic() - start


class Game:
    def __init__(self, app):
        self.app = app

    def window(self, title):
        """The game's top-level window of that title, while it is showing."""
        import pyatspi

        for i in range(self.app.childCount):
            window = self.app[i]
            if window is not None and window.name == title:
                if window.getState().contains(pyatspi.STATE_SHOWING):
                    return window
        return None

    def main(self):
        return self.window("Пирк-Перк")

    def tiles(self):
        tiles = find_all(self.main(), lambda n: n.name.startswith("Ряд "))
        check(len(tiles) == 16, f"{len(tiles)} tiles")
        return tiles

    def board(self):
        """Blue (1) or red (0) for each tile, row by row, read from the tiles' names."""
        return [0 if tile.name.endswith("красная фишка") else 1 for tile in self.tiles()]

    def counter(self):
        label = find(self.main(), lambda n: n.name.startswith("Ходов сделано: "))
        return int(label.name.rsplit(" ", 1)[1])

    def button(self, window, name):
        import pyatspi

        return find(window, lambda n: n.name == name and n.getRole() == pyatspi.ROLE_PUSH_BUTTON)

    def menu_item(self, name):
        import pyatspi

        return find(self.main(), lambda n: n.name == name and n.getRole() == pyatspi.ROLE_MENU_ITEM)


def solve(blue):
    """The tiles to press: (i, j) when blue(row i) + blue(column j) - blue(i, j) is odd."""
    rows = [sum(blue[i * 4 + j] for j in range(4)) for i in range(4)]
    columns = [sum(blue[i * 4 + j] for i in range(4)) for j in range(4)]
    presses = [i * 4 + j for i in range(4) for j in range(4)
               if (rows[i] + columns[j] - blue[i * 4 + j]) % 2]
    # A board dealt all red is won by pressing one tile twice.
    return presses or [0, 0]


def nothing_changes_behind(game, records, controls):
    """Presses each control of the main window while records is open: nothing may change."""
    board, count = game.board(), game.counter()
    for control in controls:
        press(control)
    time.sleep(0.5)  # a button's press is an animated click, a tenth of a second long
    check(game.window(records) is not None, records + " closed by an action behind it")
    check(game.board() == board and game.counter() == count,
          f"an action behind {records} changed the game")


def play(game_path, folder):
    import pyatspi

    game_env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([game_path], env=game_env)
    try:
        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop[i]
                if app is not None and app.name == "pirk-perk":
                    return app
            return None

        game = Game(wait_for(application, "the game on the bus"))
        wait_for(game.main, "the main window")

        presses = solve(game.board())
        for n, k in enumerate(presses[:-1], start=1):
            press(game.tiles()[k])
            wait_for(lambda: game.counter() == n, f"move {n}")
        took = press(game.tiles()[presses[-1]])
        opened = time.monotonic()
        prompt = wait_for(lambda: game.window("Рекорд"), "the name prompt")
        print(f"winning press returned in {took * 1000:.1f} ms; the name prompt showed "
              f"{(time.monotonic() - opened) * 1000:.1f} ms after")
        check(took < 1.0, "the winning press waited for the name prompt")
        check(game.board() == [0] * 16, "the board is not all red")

        field = find(prompt, lambda n: n.getRole() == pyatspi.ROLE_TEXT)
        field.queryEditableText().setTextContents(NAME)
        press(game.button(prompt, "OK"))
        records = wait_for(lambda: game.window("Рекордсмены"), "the records window")
        moves = len(presses)
        check(find(records, lambda n: n.name == f"Вы справились за {moves} ходов"),
              "no result line")
        check(find(records, lambda n: n.name.rstrip() == NAME), "the new record is not shown")

        behind = [game.tiles()[5], game.button(game.main(), "Новая"), game.menu_item("Новая")]
        nothing_changes_behind(game, "Рекордсмены", behind)
        press(game.button(records, "Ok!"))
        wait_for(lambda: game.window("Рекордсмены") is None, "the records window to close")
        time.sleep(0.3)
        check(game.board() == [0] * 16 and game.counter() == moves,
              "an action taken behind the records window ran once it closed")

        took = press(game.button(game.main(), "Рекорды"))
        print(f"the records button's press returned in {took * 1000:.1f} ms")
        records = wait_for(lambda: game.window("Рекордсмены"), "the records window")
        nothing_changes_behind(game, "Рекордсмены", [game.tiles()[0], game.menu_item("Правила")])
        press(game.button(records, "Ok!"))
        wait_for(lambda: game.window("Рекордсмены") is None, "the records window to close")

        press(game.button(game.main(), "Выход"))
        question = wait_for(lambda: game.window("Пирк - Перк"), "the exit question")
        press(game.button(question, "Да"))
        check(process.wait(timeout=10) == 0, "the game did not end cleanly")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()

    saved = open(os.path.join(folder, "Records.dat"), "rb").read()
    check(len(saved) == 60 and NAME.encode("cp1251") in saved, f"Records.dat holds {saved!r}")


def main():
    game_path = sys.argv[1]
    if "PIRK_ON_OWN_BUS" not in os.environ:
        missing = [p for p in ("dbus-run-session", "Xvfb") if not shutil.which(p)]
        if not os.path.exists("/usr/share/dbus-1/services/org.a11y.Bus.service"):
            missing.append("at-spi2-core")
        try:
            import pyatspi  # noqa: F401
        except ImportError:
            missing.append("python3-pyatspi")
        if missing:
            print("skipped: missing " + ", ".join(missing))
            return SKIP
        env = dict(os.environ, PIRK_ON_OWN_BUS="1")
        return subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv, env=env)

    with tempfile.TemporaryDirectory() as folder:
        read, write = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], pass_fds=[write])
        os.close(write)
        try:
            os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
            copy = shutil.copy(game_path, folder)
            play(copy, folder)
        except Failure as failure:
            print("FAIL: " + str(failure))
            return 1
        finally:
            xvfb.terminate()
            xvfb.wait()
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
