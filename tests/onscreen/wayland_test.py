#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Jabbly on a desktop with Wayland only (a headless weston, no X server): it starts, a turn
is taken through the controls (set and pressed over AT-SPI, as weston's headless backend
takes no input from outside), and the new words reach words.txt when the program ends.

    wayland_test.py BIN_FOLDER
"""

import os
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi  # noqa: E402
from atspi import fail  # noqa: E402


def main():
    with atspi.Desktop(sys.argv[1], wayland=True) as desktop:
        Atspi = desktop.Atspi

        def a_turn_on_wayland_reaches_words_txt():
            desktop.start_program("Wayland Tester")
            main_window = desktop.window("Jabbly")
            say1 = desktop.named("Your line", main_window)
            conversation = desktop.named("Conversation", main_window)
            say_button = desktop.find("the Say button", lambda n: n.get_role() == Atspi.Role.PUSH_BUTTON
                                      and n.get_name() == "Say", main_window)
            answer = desktop.say(say1, say_button, conversation, "Wayland Tester", "Penguins glide quietly")
            print(f"  answered on Wayland: {answer!r}")

            # Ended from outside, as a logout does: the normal shut-down saves the words.
            os.kill(desktop.program.pid, signal.SIGTERM)
            code = desktop.wait_for_program_end()
            if code != 0:
                fail(f"jabbly ended with exit code {code}:\n{desktop.log_text()}")
            with open(os.path.join(desktop.folder, "words.txt"), "rb") as words:
                saved = words.read().decode("utf-8").split("\r\n")
            print(f"  words.txt: {saved}")
            for word in ("glide", "jabbly", "penguins", "quietly"):
                if word not in saved:
                    fail(f"'{word}' is not in words.txt: {saved}")

        atspi.run_checks([a_turn_on_wayland_reaches_words_txt])


if __name__ == "__main__":
    atspi.main(main)
