# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The three option windows on a desktop with a window manager: owned by the main window,
they stay in front of it, are minimised and restored with it, leave it usable (modeless),
keep their window while hidden, and are destroyed by their close box."""

import unittest

from desktop import Desktop, wait_for

OPTION_WINDOWS = (("F9", "Speech Options"), ("F11", "Font and Size"), ("F12", "Words Added This Session"))


def input_box_point(main, covering):
    """A point inside Say1 (the bottom row of the main window, between the name box and
    the Say button) that none of the `covering` windows hides."""
    left, top, width, height = main.geometry()
    y = height - 15
    for x in range(113 + 5, width - 41 - 5, 10):
        if not any(fx <= left + x < fx + fw and fy <= top + y < fy + fh
                   for fx, fy, fw, fh in (w.frame_geometry() for w in covering)):
            return x, y
    raise AssertionError("the option windows cover the whole input box")


class OwnedOptionWindows(unittest.TestCase):
    def test_in_front_of_the_main_window_minimised_and_restored_with_it(self):
        with Desktop(name="owned-windows") as desktop:
            jabbly = desktop.start_jabbly(words=["apple"])
            main = jabbly.window("Jabbly")
            main.activate()
            options = []
            for key, title in OPTION_WINDOWS:
                desktop.key(key)
                window = jabbly.window(title)
                self.assertEqual(window.transient_for(), main.id, f"{title} has no owner for the window manager")
                options.append(window)

            # A click into the main window makes it the active one: the option windows stay
            # in front of it, and it takes the user's typing (they are modeless).
            main.click(*input_box_point(main, options))
            wait_for("the main window to become active", lambda: desktop.active_window() == main)
            for window in options:
                self.assertTrue(desktop.is_above(window, main), f"{window} went behind the main window")
            desktop.type("kumquat")
            desktop.key("Return")

            main.minimize()
            for window in [main, *options]:
                wait_for(f"{window} to be minimised",
                         lambda w=window: not w.viewable() and "_NET_WM_STATE_HIDDEN" in w.net_wm_state())
            main.activate()
            for window in options:
                wait_for(f"{window} to be restored with the main window", window.viewable)
                self.assertTrue(desktop.is_above(window, main), f"{window} came back behind the main window")
            desktop.save_screen("owned-windows-restored")

            # Hidden by its menu key, a window keeps its X window (and its state); shown
            # again, it is still owned.
            speech = options[0]
            desktop.key("F9")
            wait_for("Speech Options to be hidden", lambda: speech.map_state() == "IsUnMapped")
            self.assertTrue(speech.exists())
            main.activate()
            desktop.key("F9")
            self.assertEqual(jabbly.window("Speech Options"), speech)
            self.assertEqual(speech.transient_for(), main.id)

            # Its close box (openbox's Alt+F4) destroys it; the menu key makes a new one,
            # owned like the first.
            speech.activate()
            desktop.key("alt+F4")
            wait_for("the closed Speech Options to be destroyed", lambda: not speech.exists())
            main.activate()
            desktop.key("F9")
            again = jabbly.window("Speech Options")
            self.assertNotEqual(again, speech)
            self.assertEqual(again.transient_for(), main.id)

            main.activate()
            desktop.key("F4")
            self.assertEqual(jabbly.wait_until_ended(), 0)
            self.assertIn("kumquat", jabbly.words())


if __name__ == "__main__":
    unittest.main()
