#!/usr/bin/env python3
"""zxhost's interactive loop under a pseudo-terminal, as an author types:
a formula, Up to recall it, Enter, "quit"; the history file is written in
HOME and read again by the next start. Then the same keys through a pipe,
where no editing happens and the escape sequence is part of the line.
Usage: InteractiveTest.py ZXHOST"""
import os, pty, select, subprocess, sys, tempfile

UP = "\x1b[A"


def session(zxhost, home, keys):
    """Types each key string after the prompt shows; returns all output."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execve(zxhost, [zxhost], dict(os.environ, HOME=home, TERM="xterm"))
    out = b""

    def wait_for_prompt(count):
        nonlocal out
        while out.count(b"zx> ") < count:
            ready, _, _ = select.select([fd], [], [], 10)
            if not ready:
                raise SystemExit("FAIL no prompt; output so far: %r" % out)
            out += os.read(fd, 4096)

    for n, key in enumerate(keys, 1):
        wait_for_prompt(n)
        os.write(fd, key.encode())
    try:
        while chunk := os.read(fd, 4096):
            out += chunk
    except OSError:  # the terminal closes with zxhost
        pass
    _, status = os.waitpid(pid, 0)
    return out.decode("utf-8", "replace").replace("\r", ""), os.waitstatus_to_exitcode(status)


failures = 0


def check(name, ok, detail):
    global failures
    print(("ok     " if ok else "FAIL   ") + name + ("" if ok else ": " + detail))
    failures += not ok


zxhost = sys.argv[1]
with tempfile.TemporaryDirectory() as home:
    out, status = session(zxhost, home, ["2^10\r", UP + "\r", "quit\r"])
    check("first line says how to leave", out.startswith('zxhost tries formulas on vktQuantaro 1.09. Leave: "quit" or Ctrl+D.\n'), out)
    check("typed and recalled formula both run", out.count('[result] = "1024"') == 2 and status == 0, out)
    history = os.path.join(home, ".zxhost_history")
    check("history file written", os.path.exists(history) and "2^10" in open(history).read(), home)
    out, _ = session(zxhost, home, [UP + "\r", "quit\r"])
    check("history of the last start recalled", '[result] = "1024"' in out, out)

piped = subprocess.run([zxhost], input="2^10\n" + UP + "\n", capture_output=True, text=True)
check("a pipe gets no editing", piped.stdout == '[result] = "1024"\n[LastError] = "Error in formula"\n?[A\n^ calc: unexpected character\n', piped.stdout)
sys.exit(1 if failures else 0)
