#!/usr/bin/env python3
"""Writes the list file fixtures of the storage tests (run from this folder).

The files are kept in the repository; this script says how they were made and
makes them again after a change."""

PAIRS = [b"maison\thouse\t3\t2\t0,667", b"chien\tdog\t\t\t", b"chat\tcat\t1\t0\t0,000"]


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


write("crlf.tnx", b"".join(p + b"\r\n" for p in PAIRS))
write("lf_only.tnx", b"".join(p + b"\n" for p in PAIRS))
write("cr_only.tnx", b"".join(p + b"\r" for p in PAIRS))
write("no_final_end.tnx", b"\r\n".join(PAIRS))
write("mixed_ends.tnx", b"a\r\nb\nc\rd\n\re")
write("trailing_tab.tnx", b"deux\tcells\t\r\ntrois\tcells\t\t\r\n")
write("seven_fields.tnx", b"a\tb\t1\t1\t1,000\tx\ty\r\nc\td\t\t\t\t\tz\r\n")
write("empty_line.tnx", b"a\tb\r\n\r\nc\td\r\n")
write("nul.tnx", b"a\tb\r\nc\0d\te\r\nf\tg\r\n")
write("every_byte.tnx", every_byte())
write("empty.tnx", b"")
