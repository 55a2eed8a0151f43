#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A module that floods the line: quelo-sim answers as usual behind a relay, and the relay adds
# valid telemetry frames nobody asked for at about RATE bytes a second. Prints the device path
# to give quelo-link, then runs until killed. For measuring the program's memory by hand:
#   tests/support/flood_peer.py build/bin/quelo-sim 1000000
import atexit, os, pty, select, signal, subprocess, sys, time, tty

sim_bin = sys.argv[1]
rate = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
sim = subprocess.Popen([sim_bin], stdout=subprocess.PIPE, text=True)
atexit.register(sim.terminate)
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
sim_fd = os.open(sim.stdout.readline().strip(), os.O_RDWR | os.O_NOCTTY)
tty.setraw(sim_fd)
master, slave = pty.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)

frame = b"=03E8140000" + b"7D\r"
os.set_blocking(master, False)
out = b""  # what goes to quelo-link: whole frames and whole lines of the sim's
pending = b""  # the sim's output until its line end
queued, start = 0, time.monotonic()
while True:
    ready, _, _ = select.select([master, sim_fd], [], [], 0.001)
    if master in ready:
        try:
            os.write(sim_fd, os.read(master, 4096))
        except OSError:
            pass
    if sim_fd in ready:
        pending += os.read(sim_fd, 4096)
    if b"\r" in pending:
        cut = pending.rindex(b"\r") + 1
        out += pending[:cut]
        pending = pending[cut:]
    if len(out) < 4096 and queued < rate * (time.monotonic() - start):
        out += frame * 64
        queued += len(frame) * 64
    try:
        out = out[os.write(master, out):] if out else out
    except BlockingIOError:
        pass
