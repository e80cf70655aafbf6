# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The windows at the desktop's standard font and at a large one (22 points, set the way a
Plasma desktop sets it): at the standard font they open at their design sizes; at the
large font, the windows whose captions would not fit grow. The screens are saved (in
JABBLY_ONSCREEN_SHOTS) to be looked at."""

import unittest

from desktop import Desktop

# Design client areas in pixels (twips / 15).
MAIN_CLIENT = (7230 // 15, 5250 // 15)
SPEECH_OPTIONS = (2175 // 15, 4470 // 15)


def open_the_windows(desktop, jabbly):
    main = jabbly.window("Jabbly")
    main.activate()
    desktop.type("the quick brown fox")
    desktop.key("Return")
    desktop.key("F9")
    return main, jabbly.window("Speech Options")


class LargeFontTest(unittest.TestCase):
    def test_design_sizes_at_the_standard_font(self):
        with Desktop(name="standard-font") as desktop:
            jabbly = desktop.start_jabbly(words=["apple"])
            main, options = open_the_windows(desktop, jabbly)
            desktop.save_screen("standard-font")
            _, _, width, height = main.geometry()
            self.assertEqual(width, MAIN_CLIENT[0])
            self.assertGreater(height, MAIN_CLIENT[1])  # the client area and the menu bar
            self.assertEqual(options.geometry()[2:], SPEECH_OPTIONS)

    def test_windows_grow_where_a_caption_would_not_fit_at_22_points(self):
        with Desktop(name="standard-font-reference") as desktop:
            jabbly = desktop.start_jabbly(words=["apple"])
            standard_height = jabbly.window("Jabbly").geometry()[3]
        with Desktop(desktop_font=("DejaVu Sans", 22), name="font-22pt") as desktop:
            jabbly = desktop.start_jabbly(words=["apple"])
            main, options = open_the_windows(desktop, jabbly)
            desktop.save_screen("font-22pt")
            _, _, width, height = main.geometry()
            self.assertEqual(width, MAIN_CLIENT[0])
            # The font reached the program: its menu bar is taller.
            self.assertGreater(height, standard_height, "the desktop's 22 pt font did not reach the program")
            _, _, options_width, options_height = options.geometry()
            self.assertGreater(options_width, SPEECH_OPTIONS[0], "Speech Options did not widen for its captions")
            self.assertGreater(options_height, SPEECH_OPTIONS[1], "Speech Options did not grow for its captions")


if __name__ == "__main__":
    unittest.main()
