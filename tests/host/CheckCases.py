#!/usr/bin/env python3
"""Runs the table of zxhost check cases through a zxhost program and
compares what it prints (the formula and a caret line for a refusal, the
result or the failure for a formula that is read) and its exit status.
Usage: CheckCases.py CASES ENCODING ZXHOST...
ENCODING: how zxhost's output is to be read (utf-8; under Wine the console's
code page, e.g. cp437). ZXHOST...: the command, e.g. wine PATH\\zxhost.exe.
Two cases run at a time: under Wine each start of zxhost.exe takes seconds."""
import subprocess, sys
from concurrent.futures import ThreadPoolExecutor

cases_file, encoding, zxhost = sys.argv[1], sys.argv[2], sys.argv[3:]


def cases():
    for line in open(cases_file, encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            yield [field.strip() for field in line.split("|")]


def run(case):
    formula, variable, column, text = case
    action = "calc" if variable == "-" else "diff"
    if column == "-":
        want, want_status = f"{action}: {text}\n", 0
    else:
        want, want_status = f"{formula}\n{' ' * int(column)}^ {action}: {text}\n", 1
    args = ["check", formula] + ([] if variable == "-" else [variable])
    done = subprocess.run(zxhost + args, capture_output=True, timeout=300)
    got = done.stdout.decode(encoding, "replace").replace("\r\n", "\n")
    if got == want and done.returncode == want_status:
        return ""
    return f"FAIL   check {formula!r} {variable}: status {done.returncode}, got\n{got}wanted\n{want}"


with ThreadPoolExecutor(2) as pool:
    failures = [report for report in pool.map(run, cases()) if report]
print("".join(failures), end="")
print(f"{len(list(cases())) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
