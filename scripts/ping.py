#!/usr/bin/python3
"""Asks a window whether it answers, as a desktop does before it calls a window "not
responding": sends _NET_WM_PING every INTERVAL seconds, COUNT times, and prints the
longest wait for an answer in milliseconds (or "none" when one never came within
TIMEOUT seconds); stopped by SIGTERM, it prints the longest so far. Only the window's
event loop answers a ping. The benchmark's figures of the window's answers, and the
end-to-end tests' bound on them.

    ping.py WINDOW COUNT INTERVAL [TIMEOUT]

WINDOW is a window id, or name:TITLE for the first window of that title (waited for up
to TIMEOUT seconds).
"""
import select
import signal
import sys
import time

from Xlib import X, display
from Xlib.protocol import event


def find(window, title):
    for child in window.query_tree().children:
        found = child.id if child.get_wm_name() == title else find(child, title)
        if found:
            return found
    return None


def main():
    target, count, interval = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    timeout = float(sys.argv[4]) if len(sys.argv) > 4 else 10.0
    d = display.Display()
    root = d.screen().root
    waited = time.monotonic() + timeout
    window_id = find(root, target[5:]) if target.startswith("name:") else int(target, 0)
    while window_id is None and time.monotonic() < waited:
        time.sleep(0.2)
        window_id = find(root, target[5:])
    if window_id is None:
        print("none")
        return 1
    # Qt answers to the root window with the structure notify mask, others with substructure.
    root.change_attributes(event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
    protocols, ping = d.intern_atom("WM_PROTOCOLS"), d.intern_atom("_NET_WM_PING")
    window = d.create_resource_object("window", window_id)
    longest = 0.0

    def stop(*_):
        print("%.0f" % (longest * 1000))
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    for serial in range(1, count + 1):
        sent = time.monotonic()
        window.send_event(event.ClientMessage(window=window, client_type=protocols,
                                              data=(32, [ping, serial, window_id, 0, 0])), event_mask=0)
        d.flush()
        while True:
            left = sent + timeout - time.monotonic()
            if left <= 0:
                print("none")
                return 1
            if d.pending_events() == 0:
                select.select([d], [], [], left)
                continue
            reply = d.next_event()
            if (reply.type == X.ClientMessage and reply.client_type == protocols
                    and reply.data[1][0] == ping and reply.data[1][1] == serial):
                break
        longest = max(longest, time.monotonic() - sent)
        time.sleep(max(0.0, sent + interval - time.monotonic()))
    print("%.0f" % (longest * 1000))
    return 0


if __name__ == "__main__":
    sys.exit(main())
