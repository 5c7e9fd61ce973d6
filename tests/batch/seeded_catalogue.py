#!/usr/bin/python3
"""Writes a seeded catalogue of the Gutenberg-Richter law as a dBase III
table: EVENTS events a year over YEARS years from 2001, magnitudes of b = 1.3
from 1.0 truncated at 4.5 (the inverse distribution function of Python's
random.Random(SEED), whose random() the language fixes), in department G-1
over its four zones G-1/1 ... G-1/4 in turn; energies log10 E = 1.8 M + 1.9.

  seeded_catalogue.py OUT.dbf [SEED] [YEARS] [EVENTS]
"""
import datetime
import math
import random
import struct
import sys

out = sys.argv[1]
seed = int(sys.argv[2]) if len(sys.argv) > 2 else 13
years = int(sys.argv[3]) if len(sys.argv) > 3 else 10
per_year = int(sys.argv[4]) if len(sys.argv) > 4 else 200
b, m_min, m_max = 1.3, 1.0, 4.5
span = 1.0 - 10.0 ** (-b * (m_max - m_min))
rng = random.Random(seed)

fields = [("ODDZIAL", "C", 10, 0), ("DATA", "D", 8, 0), ("X", "N", 10, 0), ("Y", "N", 10, 0),
          ("ENG", "N", 20, 2), ("MAGNITUDA", "N", 10, 4), ("OPIS", "C", 40, 0)]
records = []
for y in range(years):
    first = datetime.date(2001 + y, 1, 1)
    days = (datetime.date(2002 + y, 1, 1) - first).days
    for i in range(per_year):
        m = m_min - math.log10(1.0 - rng.random() * span) / b
        m = round(m, 4)
        day = first + datetime.timedelta(days=(i * days) // per_year)
        zone = "G-1/%d" % (1 + i % 4)
        records.append([zone, day.strftime("%Y%m%d"), "%d" % (1000 + rng.randrange(4000)),
                        "%d" % (1000 + rng.randrange(4000)), "%.2f" % 10 ** (1.8 * m + 1.9), "%.4f" % m, ""])

record_size = 1 + sum(f[2] for f in fields)
header_size = 32 + 32 * len(fields) + 1
today = datetime.date(2026, 1, 1)
data = bytearray(struct.pack("<BBBBIHH20x", 3, today.year - 1900, today.month, today.day, len(records),
                             header_size, record_size))
for name, kind, width, decimals in fields:
    data += struct.pack("<11sc4xBB14x", name.encode(), kind.encode(), width, decimals)
data += b"\r"
for r in records:
    data += b" "
    for (name, kind, width, decimals), v in zip(fields, r):
        v = v.encode("cp1250")
        data += v.ljust(width) if kind in "CD" else v.rjust(width)
data += b"\x1a"
with open(out + ".tmp", "wb") as f:
    f.write(data)
import os
os.replace(out + ".tmp", out)
