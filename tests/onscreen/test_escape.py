# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Escape on a real desktop: in the speed drop-down of Speech Options it closes the open
list only, and a second Escape closes the window; the help window closes on Escape too,
and opens centred over the main window."""

import unittest

from desktop import Desktop, wait_for

# cmbSpeed's place in Speech Options at the standard font (1080, 3840, 1095 x 315 twips).
SPEED_LIST_POINT = (72 + 36, 256 + 10)


class EscapeTest(unittest.TestCase):
    def test_escape_in_the_open_speed_list_closes_the_list_not_the_window(self):
        with Desktop(name="escape-speed-list") as desktop:
            jabbly = desktop.start_jabbly()
            main = jabbly.window("Jabbly")
            main.activate()
            desktop.key("F9")
            options = jabbly.window("Speech Options")
            options.activate()

            options.click(*SPEED_LIST_POINT)
            wait_for("the speed list to open", jabbly.popups)
            desktop.key("Down")
            desktop.key("Escape")
            wait_for("the speed list to close", lambda: not jabbly.popups())
            self.assertTrue(options.viewable(), "Escape in the speed list closed Speech Options")

            # The list closed, the focus is on the drop-down: this Escape closes the window.
            desktop.key("Escape")
            wait_for("Speech Options to close on the second Escape", lambda: not options.exists())
            self.assertTrue(main.viewable())

    def test_the_help_window_opens_over_the_main_window_and_closes_on_escape(self):
        with Desktop(name="escape-help") as desktop:
            jabbly = desktop.start_jabbly()
            main = jabbly.window("Jabbly")
            main.activate()
            desktop.key("F1")
            help_window = jabbly.window("Jabbly Help")
            # A reading window of its own, not owned by the main window.
            self.assertIsNone(help_window.transient_for())
            mx, my, mw, mh = main.frame_geometry()
            hx, hy, hw, hh = help_window.frame_geometry()
            self.assertLessEqual(abs((hx + hw / 2) - (mx + mw / 2)), 2, "not centred over the main window")
            self.assertLessEqual(abs((hy + hh / 2) - (my + mh / 2)), 2, "not centred over the main window")
            desktop.save_screen("help-window")

            help_window.activate()
            desktop.key("Escape")
            wait_for("the help window to close on Escape", lambda: not help_window.viewable())


if __name__ == "__main__":
    unittest.main()
