#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the list file fixture of the storage tests (run from this folder).

The files are kept in the repository; this script says how they were made and
makes them again after a change."""


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def every_byte():
    """Saved form: five fields a line, every byte 1..255 but TAB, CR and LF."""
    values = bytes(b for b in range(1, 256) if b not in (9, 10, 13))
    cells = [values[i:i + 9] for i in range(0, len(values), 9)]
    cells += [b""] * (-len(cells) % 5)
    lines = [b"\t".join(cells[i:i + 5]) for i in range(0, len(cells), 5)]
    return b"".join(line + b"\r\n" for line in lines)


write("every_byte.tnx", every_byte())
