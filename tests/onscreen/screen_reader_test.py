#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds in Jabbly, asked over AT-SPI as Orca asks: the windows' roles,
the speed drop-down's label, the voices' full names, and each answer reaching the screen
reader while the focus stays in the input box.

    screen_reader_test.py BIN_FOLDER
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import atspi  # noqa: E402
from atspi import fail  # noqa: E402

SHOWING = "object:state-changed:showing"


def main():
    with atspi.Desktop(sys.argv[1]) as desktop:
        Atspi = desktop.Atspi
        desktop.start_program("Tester")
        main_window = desktop.window("Jabbly")
        say1 = desktop.named("Your line", main_window)
        conversation = desktop.named("Conversation", main_window)
        say_button = desktop.find("the Say button", lambda n: n.get_role() == Atspi.Role.PUSH_BUTTON
                                  and n.get_name() == "Say", main_window)
        menu_item = {}

        def menu(caption):
            if caption not in menu_item:
                menu_item[caption] = desktop.find(
                    f"the menu item '{caption}'",
                    lambda n: n.get_role() == Atspi.Role.MENU_ITEM and n.get_name().replace("&", "") == caption,
                    main_window)
            return menu_item[caption]

        def answers_reach_the_screen_reader_while_the_focus_stays_in_the_input_box():
            desktop.wait_for_focus(say1)
            heard = desktop.listen(SHOWING, "object:text-changed:insert")
            for line in ("hello", "hello", "[version]"):
                before = len(heard)
                answer = desktop.say(say1, say_button, conversation, "Tester", line)

                # What Orca acts on: a notification object shown (it then reads the object).
                def notified():
                    return [e for e in heard[before:] if e["type"] == SHOWING and e["detail1"] == 1
                            and e["source_role"] == "notification"]
                event = atspi.wait_for(f"a notification of the answer {answer!r}", notified, desktop.pump,
                                       patience=20)[-1]
                print(f"  received {event['type']} (detail1 {event['detail1']}) from a {event['source_role']} "
                      f"named {event['source_name']!r}; focused: '{desktop.focused_name(main_window)}'")
                if event["source_name"] != answer:
                    fail(f"the screen reader was shown {event['source_name']!r}, the transcript says {answer!r}")
                if not desktop.has_state(say1, Atspi.StateType.FOCUSED):
                    fail("the input box lost the focus")
            inserted = [e for e in heard if e["type"].startswith("object:text-changed:insert")]
            print(f"  and {len(inserted)} text-changed:insert events, from "
                  f"{sorted({(e['source_name'], e['source_focused']) for e in inserted})} (name, focused)")

        def the_option_windows_and_the_help_are_windows_to_a_screen_reader():
            roles = {}
            for caption, title in (("Show Speech Options...", "Speech Options"),
                                   ("Font and size...", "Font and Size"),
                                   ("View words added this session...", "Words Added This Session"),
                                   ("Contents", "Jabbly Help")):
                desktop.do_action(menu(caption), "Press")
                roles[title] = desktop.role(desktop.window(title))
            roles["Jabbly"] = desktop.role(main_window)
            print(f"  roles: {roles}")
            expected = {"Speech Options": "dialog", "Font and Size": "dialog", "Words Added This Session": "dialog",
                        "Jabbly Help": "frame", "Jabbly": "frame"}
            if roles != expected:
                fail(f"window roles {roles}, expected {expected}")

        def the_speed_drop_down_is_labelled_speed():
            window = desktop.window("Speech Options")
            speed = desktop.find("the speed drop-down", lambda n: n.get_role() == Atspi.Role.COMBO_BOX, window)
            labels = []
            for relation in speed.get_relation_set():
                if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
                    labels += [relation.get_target(i).get_name() for i in range(relation.get_n_targets())]
            print(f"  the drop-down is named {speed.get_name()!r} and labelled by {labels}")
            if labels != ["Speed"]:
                fail(f"the speed drop-down is labelled by {labels} (named {speed.get_name()!r}), not by 'Speed'")

        def every_voice_is_read_by_its_full_name():
            window = desktop.window("Speech Options")
            voices = desktop.find("the voice list", lambda n: n.get_role() == Atspi.Role.LIST
                                  and n.get_name() == "Voices", window)
            names = [voices.get_child_at_index(i).get_name() for i in range(voices.get_child_count())]
            names = [n for n in names if n]
            print(f"  {len(names)} voices, for example {names[:2]}")
            if not names:
                fail("the voice list holds no voices")
            if len(set(names)) != len(names):
                fail("two voices share a name: " + ", ".join(sorted({n for n in names if names.count(n) > 1})))
            if not any(n.endswith(", female") for n in names) or not any(n.endswith(", male") for n in names):
                fail(f"male and female voices cannot be told apart: {names[:6]}")

        atspi.run_checks([answers_reach_the_screen_reader_while_the_focus_stays_in_the_input_box,
                          the_option_windows_and_the_help_are_windows_to_a_screen_reader,
                          the_speed_drop_down_is_labelled_speed,
                          every_voice_is_read_by_its_full_name])


if __name__ == "__main__":
    atspi.main(main)
