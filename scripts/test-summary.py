#!/usr/bin/env python3
"""Counts the test run case by case: scripts/test-summary.py CTEST_JUNIT RESULTS_DIR

CTest runs each test program in a few processes, so its own count is one of programs. This reads
CTest's JUnit report for the programs and, for every program that wrote GoogleTest's XML report
into RESULTS_DIR, the cases inside it. It names every failed case, and every program that failed
without a report of its own (a crash or a time-out), then prints the totals on one line.
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_cases(path):
    """(passed, failed, skipped, names of failed cases) of one GoogleTest report."""
    passed = failed = skipped = 0
    failed_names = []
    root = ET.parse(path).getroot()
    for case in root.iter("testcase"):
        if case.get("status", "run") != "run" or case.get("result") == "suppressed":
            continue
        name = f'{case.get("classname")}.{case.get("name")}'
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
            failed_names.append(name)
        elif case.find("skipped") is not None or case.get("result") == "skipped":
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped, failed_names


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[0], file=sys.stderr)
        return 2
    junit, results = sys.argv[1], sys.argv[2]
    passed = failed = skipped = 0
    failures = []
    for entry in ET.parse(junit).getroot().iter("testcase"):
        name = entry.get("name")
        ok = entry.get("status") == "run" and entry.find("failure") is None
        not_run = entry.get("status") in ("notrun", "disabled")
        report = os.path.join(results, name + ".xml")
        counted = False
        if os.path.exists(report):
            try:
                p, f, s, names = gtest_cases(report)
                passed, failed, skipped = passed + p, failed + f, skipped + s
                failures += names
                counted = True
                if not ok and f == 0:
                    # The cases passed but the process did not: a leak report or a crash at exit.
                    failed += 1
                    failures.append(f"{name} (the program failed after its cases)")
            except ET.ParseError:
                pass
        if counted:
            continue
        if not_run:
            skipped += 1
        elif ok:
            passed += 1
        else:
            failed += 1
            failures.append(f"{name} (no report: crashed or timed out)")
    for name in failures:
        print(f"FAILED: {name}")
    print(f"Tests: {passed} passed, {failed} failed, {skipped} skipped")
    return 0


if __name__ == "__main__":
    sys.exit(main())
