#!/usr/bin/env python3
"""Runs the table of zxhost check cases through a zxhost program and
compares what it prints (the formula and a caret line for a refusal, the
result or the failure for a formula that is read) and its exit status.
Usage: CheckCases.py CASES ENCODING ZXHOST...
ENCODING: how zxhost's output is to be read (utf-8; under Wine the console's
code page, e.g. cp437). ZXHOST...: the command, e.g. wine PATH\\zxhost.exe."""
import subprocess, sys

cases_file, encoding, zxhost = sys.argv[1], sys.argv[2], sys.argv[3:]
passed = failed = 0
for line in open(cases_file, encoding="utf-8"):
    if not line.strip() or line.startswith("#"):
        continue
    formula, variable, column, text = (field.strip() for field in line.split("|"))
    action = "calc" if variable == "-" else "diff"
    if column == "-":
        want, want_status = f"{action}: {text}\n", 0
    else:
        want, want_status = f"{formula}\n{' ' * int(column)}^ {action}: {text}\n", 1
    args = ["check", formula] + ([] if variable == "-" else [variable])
    run = subprocess.run(zxhost + args, capture_output=True, timeout=300)
    got = run.stdout.decode(encoding, "replace").replace("\r\n", "\n")
    if got == want and run.returncode == want_status:
        passed += 1
    else:
        failed += 1
        print(f"FAIL   check {formula!r} {variable}: status {run.returncode}, got\n{got}wanted\n{want}", end="")
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
