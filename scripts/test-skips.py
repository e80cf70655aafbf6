#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reports the tests a CTest run did not run, from its JUnit file (ctest --output-junit).

    scripts/test-skips.py JUNIT_XML [--fail]

Prints how many tests were skipped (GTEST_SKIP), not run or disabled, each with its reason.
With --fail it exits 1 when any of them is not listed in .ci/allowed-skips (one test name a
line, then `#` and why the CI machine cannot run it).
"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET


def allowed_skips(root: pathlib.Path) -> dict[str, str]:
    allowed = {}
    path = root / ".ci" / "allowed-skips"
    if path.exists():
        for line in path.read_text(encoding="utf-8").splitlines():
            name, _, why = line.partition("#")
            if name.strip():
                allowed[name.strip()] = why.strip()
    return allowed


def reason_of(case: ET.Element) -> str:
    # GoogleTest prints "<file>:<line>: Skipped" and then the message given to GTEST_SKIP.
    out = case.findtext("system-out") or ""
    lines = out.splitlines()
    for i, line in enumerate(lines):
        if re.search(r": Skipped$", line):
            message = " ".join(l.strip() for l in lines[i + 1 : i + 3] if l.strip() and not l.startswith("["))
            return message or "GTEST_SKIP without a message"
    skipped = case.find("skipped")
    if skipped is not None and skipped.get("message"):
        return skipped.get("message")
    return case.get("status", "not run")


def main() -> int:
    args = [a for a in sys.argv[1:] if a != "--fail"]
    fail = "--fail" in sys.argv[1:]
    if len(args) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    tree = ET.parse(args[0])
    root = pathlib.Path(__file__).resolve().parent.parent
    allowed = allowed_skips(root)
    cases = tree.getroot().iter("testcase")
    total = 0
    not_run = []
    for case in cases:
        total += 1
        status = case.get("status", "run")
        if case.find("skipped") is not None or status in ("notrun", "disabled"):
            not_run.append((case.get("name", "?"), status, reason_of(case)))
    print(f"tests: {total}, not run: {len(not_run)}")
    unexpected = 0
    for name, status, why in not_run:
        note = ""
        if name in allowed:
            note = f"  [allowed: {allowed[name]}]"
        else:
            unexpected += 1
        print(f"  {status:8} {name}: {why}{note}")
    if fail and unexpected:
        print(f"{unexpected} tests did not run although this machine can run them", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
