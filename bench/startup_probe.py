#!/usr/bin/env python3
"""Times zovcfg from its start until the card list is drawn, in a pseudo-terminal.

Usage: startup_probe.py ZOVCFG REGISTRY_DB [RUNS]

Each run starts the utility on the given registry in an 80x25 pty, waits until its output holds
the first card row ("Card1"), takes that time, presses Escape to close it and collects its peak
resident memory: ru_maxrss of the child from wait4, and VmHWM read while the list is shown.
Prints one JSON object with the start-up times in milliseconds and the largest peaks in KiB.
"""
import fcntl
import json
import os
import pty
import select
import signal
import statistics
import struct
import sys
import termios
import time

MARK = b"Card1"
DEADLINE_SECONDS = 10


def run_once(program, registry):
    environment = dict(os.environ, TERM="xterm-256color", ZOVCFG_REGISTRY=registry)
    environment.pop("LD_PRELOAD", None)
    started = time.perf_counter()
    pid, fd = pty.fork()
    if pid == 0:
        fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
        try:
            os.execve(program, [program], environment)
        finally:
            os._exit(127)
    output = b""
    drawn_after = None
    high_water = 0
    usage = None
    deadline = started + DEADLINE_SECONDS
    while usage is None and time.perf_counter() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.05)
        if ready:
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                chunk = b""  # the child closed the terminal
            if not chunk:
                break
            output += chunk
            if drawn_after is None and MARK in output:
                drawn_after = time.perf_counter() - started
                high_water = resident_high_water(pid)
                os.write(fd, b"\x1b")  # Escape closes the card list
        finished, _, finished_usage = os.wait4(pid, os.WNOHANG)
        if finished == pid:
            usage = finished_usage
    if usage is None:
        if time.perf_counter() >= deadline:
            os.kill(pid, signal.SIGKILL)
        _, _, usage = os.wait4(pid, 0)
    os.close(fd)
    return drawn_after, usage.ru_maxrss, high_water


def resident_high_water(pid):
    """VmHWM of the process in KiB: its own peak, unlike ru_maxrss, which after exec also
    remembers the peak of the forked Python image the child was before it."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    program, registry = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    times, peaks, high_waters = [], [], []
    for _ in range(runs):
        drawn_after, peak, high_water = run_once(program, registry)
        if drawn_after is None:
            sys.exit("startup_probe: the card list was never drawn")
        times.append(drawn_after * 1000)
        peaks.append(peak)
        high_waters.append(high_water)
    print(json.dumps({"startup_ms_median": statistics.median(times),
                      "startup_ms_min": min(times), "startup_ms_max": max(times),
                      "peak_kib": max(peaks), "high_water_kib": max(high_waters),
                      "runs": runs}))


if __name__ == "__main__":
    main()
