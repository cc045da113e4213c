"""Runs a command on a terminal of its own and presses Ctrl+C as a player
would: once the command's output shows a pattern, the terminal gets the
interrupt character, and its line discipline sends SIGINT to whatever
process group is in the terminal's foreground at that moment.

    terminal.py LOG PATTERN SECONDS COMMAND [ARGS...]

The command's output goes to LOG as it comes. Prints "status N" (or
"signal N") of the command and exits 0, or exits 1 when PATTERN did not
come within SECONDS or the command did not end within SECONDS after the
interrupt.
"""
import os
import pty
import select
import sys
import time


def main():
    log_path, pattern, limit = sys.argv[1], sys.argv[2].encode(), float(sys.argv[3])
    command = sys.argv[4:]
    pid, master = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    output = b""
    interrupted = False
    deadline = time.monotonic() + limit
    with open(log_path, "wb") as log:
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                os.kill(pid, 9)
                print("timed out " + ("after the interrupt" if interrupted else "waiting for the pattern"))
                return 1
            ready, _, _ = select.select([master], [], [], min(left, 0.2))
            if ready:
                try:
                    chunk = os.read(master, 4096)
                except OSError:  # the terminal's last user has gone
                    chunk = b""
                if not chunk:
                    break
                log.write(chunk)
                log.flush()
                output += chunk
            if not interrupted and pattern in output:
                os.write(master, b"\x03")
                interrupted = True
                deadline = time.monotonic() + limit
    _, status = os.waitpid(pid, 0)
    if not interrupted:
        print("ended before the pattern")
        return 1
    if os.WIFSIGNALED(status):
        print("signal %d" % os.WTERMSIG(status))
    else:
        print("status %d" % os.WEXITSTATUS(status))
    return 0


if __name__ == "__main__":
    sys.exit(main())
