#!/usr/bin/env python3
"""What a modder would write: walk the tree, read each ship file, find the names with
bytes.find, pack the new values with struct, write the file back and log what was done.

    modder_patch.py ROOT GC_HEIGHT SURFACE_DRAG ENGINE_PERCENT RUDDER_DRAG
"""
import os
import struct
import sys

NAMES = [b"unit_Ship", b"mass", b"gc_height", b"LR", b"max_speed", b"eng_power", b"drag"]


def patch(path, new, log):
    with open(path, "rb") as f:
        data = bytearray(f.read(199990))
    found = [0.0] * 7
    start = 0
    log.append("\nFile %s found.\n" % path)
    for i, name in enumerate(NAMES):
        pos = data.find(name, start)
        if pos < 0 or pos + len(name) + 5 > len(data):
            log.append("Parameter %s not found!\n" % name.decode())
            start = 0
            continue
        value_at = pos + len(name) + 1
        start = value_at
        log.append("Parameter %s found.\n" % name.decode())
        found[i] = struct.unpack_from("<f", data, value_at)[0]
        if abs(new[i]) < 0.00005 or found[1] < 500:
            continue
        stored = new[i]
        if i == 5:
            stored = found[5] * new[5] / 100
        elif i == 6 and found[4] > 19.5:
            stored = new[6] + 0.01
        struct.pack_into("<f", data, value_at, stored)
        now = struct.unpack_from("<f", data, value_at)[0]
        log.append("And fixed. (Was %6.3f, now %6.3f)\n" % (found[i], now))
    with open(path, "r+b") as f:
        f.write(data)


def main():
    root = sys.argv[1]
    gc, lr, eng, drag = (float(v) for v in sys.argv[2:6])
    new = [0, 0, gc, lr, 0, eng, drag]
    ships = []
    for folder, _, files in os.walk(root):
        ships += [os.path.join(folder, f) for f in files if f.upper().endswith(".SIM")]
    ships.sort()
    with open("DIR4.TXT", "w", newline="\r\n") as catalogue:
        catalogue.write(root + "\n")
        catalogue.writelines(s + "\n" for s in ships)
        catalogue.write("%d = No. of files" % len(ships))
    log = []
    for ship in ships:
        patch(ship, new, log)
    with open("SEARCHPLAINTEXT.TXT", "w", newline="\r\n") as report:
        report.writelines(log)
    print("%d files patched" % len(ships))


if __name__ == "__main__":
    main()
