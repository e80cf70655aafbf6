# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The input line on a real desktop: after every turn the line stays selected, so the next
typing replaces it, whatever took the keyboard in between: a menu opened with Alt and
closed with Escape, an option window, a message box, the help window. Read back through
words.txt, which the program writes when it ends: a line typed onto the end of the last
one would be learned as one run-together word."""

import unittest

from desktop import Desktop, wait_for


class InputLineTest(unittest.TestCase):
    def test_the_line_stays_selected_whatever_took_the_focus(self):
        with Desktop(name="input-line") as desktop:
            jabbly = desktop.start_jabbly(words=["apple"])
            main = jabbly.window("Jabbly")
            main.activate()

            def say(word):
                wait_for("the main window to have the keyboard", lambda: desktop.active_window() == main)
                desktop.type(word)
                desktop.key("Return")

            say("plum")
            for menu_key, word in (("alt+j", "quince"), ("alt+h", "raisin")):
                desktop.key(menu_key)
                wait_for(f"the menu of {menu_key} to open", jabbly.popups)
                desktop.key("Escape")
                wait_for("the menu to close", lambda: not jabbly.popups())
                say(word)

            desktop.key("F9")
            options = jabbly.window("Speech Options")
            wait_for("Speech Options to have the keyboard", lambda: desktop.active_window() == options)
            desktop.key("F9")
            wait_for("Speech Options to be hidden", lambda: not options.viewable())
            say("sloe")

            desktop.key("F6")
            about = jabbly.window("About")
            wait_for("the About box to have the keyboard", lambda: desktop.active_window() == about)
            desktop.key("Return")
            wait_for("the About box to close", lambda: not about.exists())
            say("fig")

            desktop.key("F3")
            question = jabbly.window("Text Clear")
            wait_for("the question to have the keyboard", lambda: desktop.active_window() == question)
            desktop.key("Escape")  # No: the transcript stays
            wait_for("the question to close", lambda: not question.exists())
            say("pear")

            desktop.key("F1")
            help_window = jabbly.window("Jabbly Help")
            wait_for("the help window to have the keyboard", lambda: desktop.active_window() == help_window)
            main.activate()
            say("lime")

            desktop.key("F4")
            self.assertEqual(jabbly.wait_until_ended(), 0)
            self.assertEqual(jabbly.words(), sorted(["apple", "plum", "quince", "raisin", "sloe", "fig", "pear", "lime"]))


if __name__ == "__main__":
    unittest.main()
