#!/usr/bin/env python3
"""Builds the Paradox fixtures of the table tests.

The files are put together byte by byte from the published description of
the format, independently of the program's own writer, so that the reader is
checked against a second encoder. Dates are Python's date.toordinal() (day 1
is 0001-01-01), times milliseconds since midnight, timestamps milliseconds
since day 0 of the same count.

Run:  python3 tests/data/paradox/make_fixtures.py   (writes beside itself)
"""
import datetime
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

ALPHA, DATE, SHORT, LONG, MONEY, NUMBER, LOGICAL = 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x09
MEMO, TIME, TIMESTAMP, AUTOINC, BCD, BYTES = 0x0C, 0x14, 0x15, 0x16, 0x17, 0x18


def enc_short(v):
    return b"\0\0" if v is None else struct.pack(">H", (v & 0xFFFF) ^ 0x8000)


def enc_long(v):
    return b"\0" * 4 if v is None else struct.pack(">I", (v & 0xFFFFFFFF) ^ 0x80000000)


def enc_double(v):
    if v is None:
        return b"\0" * 8
    b = bytearray(struct.pack(">d", v))
    if b[0] & 0x80:  # negative: all bits inverted
        return bytes(x ^ 0xFF for x in b)
    b[0] |= 0x80
    return bytes(b)


def enc_value(ftype, length, v):
    if ftype == ALPHA:
        return b"\0" * length if v is None else v.encode("cp1250").ljust(length, b"\0")
    if ftype == SHORT:
        return enc_short(v)
    if ftype in (LONG, AUTOINC):
        return enc_long(v)
    if ftype == DATE:
        return enc_long(None if v is None else v.toordinal())
    if ftype == TIME:
        return enc_long(v)  # milliseconds
    if ftype in (NUMBER, MONEY):
        return enc_double(v)
    if ftype == TIMESTAMP:
        if v is None:
            return b"\0" * 8
        ms = v.toordinal() * 86400000 + ((v.hour * 60 + v.minute) * 60 + v.second) * 1000 + v.microsecond // 1000
        return enc_double(float(ms))
    if ftype == LOGICAL:
        return b"\0" if v is None else bytes([0x80 | int(v)])
    # memo, BCD, bytes: raw bytes given by the caller
    return b"\0" * length if v is None else v.ljust(length, b"\0")


def field_length(ftype, size):
    return {DATE: 4, SHORT: 2, LONG: 4, MONEY: 8, NUMBER: 8, LOGICAL: 1, TIME: 4,
            TIMESTAMP: 8, AUTOINC: 4, BCD: 17}.get(ftype, size)


def table(fields, records, version=12, file_type=2, block_kib=1, chain=None, codepage=1250,
          name="test.db", autoinc=0):
    """fields: (name, type, size); records: lists of values; chain: physical
    block numbers in chain order, one per group of records (a group may be
    given explicitly as the number of records it holds)."""
    lengths = [field_length(t, s) for _, t, s in fields]
    rs = sum(lengths)
    n = len(fields)
    data_header = version >= 5
    info_at = 0x78 if data_header else 0x58
    tn_len = 261 if version == 12 else 79
    names = b"".join(f.encode("cp1250") + b"\0" for f, _, _ in fields)
    used = info_at + 2 * n + 4 + 4 * n + tn_len + len(names) + 2 * n + 8
    header_size = (used // 0x800 + 1) * 0x800
    block_size = block_kib * 1024
    per_block = (block_size - 6) // rs

    if chain is None:
        count = max(1, -(-len(records) // per_block)) if records else 0
        chain = [(i + 1, None) for i in range(count)]
    groups = []
    at = 0
    for physical, size in chain:
        size = min(per_block, len(records) - at) if size is None else size
        groups.append((physical, records[at:at + size]))
        at += size
    assert at == len(records)
    file_blocks = max([p for p, _ in groups], default=0)

    h = bytearray(header_size)
    struct.pack_into("<HHBB", h, 0, rs, header_size, file_type, block_kib)
    struct.pack_into("<iHHHH", h, 6, len(records), file_blocks + 1, file_blocks,
                     groups[0][0] if groups else 0, groups[-1][0] if groups else 0)
    struct.pack_into("<H", h, 0x21, n)
    struct.pack_into("<H", h, 0x23, 1 if file_type == 0 else 0)
    struct.pack_into("<I", h, 0x25, 0xFF00FF00 if data_header else 0)
    h[0x29] = 0x62
    h[0x39] = version
    struct.pack_into("<i", h, 0x49, autoinc)
    if data_header:
        struct.pack_into("<HH", h, 0x58, 0x0100 | version, 0x0100 | version)
        struct.pack_into("<H", h, 0x6A, codepage)
    p = info_at
    for (_, t, s), length in zip(fields, lengths):
        h[p] = t
        h[p + 1] = s if t == BCD else length
        p += 2
    p += 4 + 4 * n  # pointers: their values are not used by readers
    tn = name.encode("cp1250")
    h[p:p + len(tn)] = tn
    p += tn_len
    h[p:p + len(names)] = names
    p += len(names)
    for i in range(n):
        struct.pack_into("<H", h, p, i + 1)
        p += 2
    h[p:p + 8] = b"ANSIINTL"

    blocks = bytearray(file_blocks * block_size)
    for i, (physical, recs) in enumerate(groups):
        nxt = groups[i + 1][0] if i + 1 < len(groups) else 0
        prv = groups[i - 1][0] if i > 0 else 0
        base = (physical - 1) * block_size
        struct.pack_into("<HHh", blocks, base, nxt, prv, (len(recs) - 1) * rs)
        q = base + 6
        for r in recs:
            for (_, t, _), length, v in zip(fields, lengths, r):
                blocks[q:q + length] = enc_value(t, length, v)
                q += length
    return bytearray(h + blocks)


# ------------------------------------------------------------------ types.db
TYPES_FIELDS = [
    ("STREFA", ALPHA, 12), ("DATA", DATE, 0), ("X", LONG, 0), ("GODZ", SHORT, 0),
    ("ENERGIA", NUMBER, 0), ("KOSZT", MONEY, 0), ("OK", LOGICAL, 0), ("CZAS", TIME, 0),
    ("MOMENT", TIMESTAMP, 0), ("NR", AUTOINC, 0), ("OPIS", MEMO, 20), ("KWOTA", BCD, 2),
    ("SUMA", BYTES, 4), ("ŹRÓDŁO", ALPHA, 8),
]
BCD_12_34 = bytes([0xC2]) + bytes(13) + bytes([0x00, 0x12, 0x34])  # a BCD value; read as null
MEMO_INLINE = b"abc".ljust(10, b"\0") + struct.pack("<IIH", 0, 3, 1)


def types_records():
    recs = [
        ["G-1/3", datetime.date(1600, 2, 29), 2147483647, 32767, 1.5e10, 12.34, True,
         (13 * 3600 + 45 * 60 + 30) * 1000 + 250, datetime.datetime(2024, 2, 29, 23, 59, 59, 999000), 1,
         MEMO_INLINE, BCD_12_34, b"\x01\x02\x03\x04", "Łódź"],
        ["Zażółć gęśl", datetime.date(2100, 3, 1), -2147483647, -32767, -0.001, -5.0, False, 0,
         datetime.datetime(1600, 1, 1), 2, None, None, None, "ŻÓŁW"],
        [None] * 9 + [3] + [None] * 4,
    ]
    for i in range(3, 25):
        recs.append([f"S-{i}", datetime.date(2000, 1, 1) + datetime.timedelta(days=i), i * 1000 - 7, i,
                     i * 0.5, float(i), i % 2 == 0, i * 1000,
                     datetime.datetime(2001, 1, 1) + datetime.timedelta(hours=i), i + 1, None, None, None, "abc"])
    return recs


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes(data))


def put16(b, at, v):
    struct.pack_into("<H", b, at, v)


def main():
    # 104-byte records, 9 to a 1 KiB block: 25 records in three blocks,
    # chained 2 -> 1 -> 3 so that chain order differs from file order.
    types = table(TYPES_FIELDS, types_records(), chain=[(2, None), (1, None), (3, None)], autoinc=25)
    write("types.db", types)

    small_fields = [("NAZWA", ALPHA, 10), ("N", LONG, 0)]
    small = [["Kraków", 1], ["Gdańsk", -2], [None, None]]
    write("format4.db", table(small_fields, small, version=5, name="format4"))
    write("keyed.db", table(small_fields, small, file_type=0))
    # The middle block of the chain holds nothing (pxlib would miscount it).
    write("emptyblock.db", table(small_fields, small[:2] + [["Łańcut", 7]], chain=[(1, 2), (2, 0), (3, 1)]))
    write("notable.db", table(small_fields, []))

    # ---- damaged files, each with one fault
    header_size = struct.unpack_from("<H", types, 2)[0]
    block_size = 1024
    names_at = 0x78 + 2 * len(TYPES_FIELDS) + 4 + 4 * len(TYPES_FIELDS)

    def variant(name, change):
        b = bytearray(types)
        change(b)
        write(name, b)

    write("empty.db", b"")
    write("short_header.db", types[:40])
    write("not_paradox.db", "To nie jest tabela Paradox, tylko tekst.\n".encode() * 4)
    write("truncated.db", types[:len(types) - 500])
    variant("index_file.db", lambda b: b.__setitem__(4, 1))
    variant("unknown_file_type.db", lambda b: b.__setitem__(4, 9))
    variant("bad_version.db", lambda b: b.__setitem__(0x39, 0x20))
    variant("bad_block_size.db", lambda b: b.__setitem__(5, 0))
    variant("zero_record_size.db", lambda b: put16(b, 0, 0))
    variant("no_fields.db", lambda b: put16(b, 0x21, 0))
    variant("field_type.db", lambda b: b.__setitem__(0x78 + 2 * 2, 0x07))
    variant("record_size.db", lambda b: put16(b, 0, 106))

    def field_length_change(b):
        b[0x78 + 2 * 2 + 1] = 5  # X: a long of 5 bytes, record size kept consistent
        put16(b, 0, 105)
    variant("field_length.db", field_length_change)
    variant("table_name.db", lambda b: b.__setitem__(slice(names_at, names_at + 261), b"A" * 261))
    variant("field_names.db", lambda b: put16(b, 2, names_at + 261 + 10))
    variant("encrypted.db", lambda b: struct.pack_into("<I", b, 0x5C, 0x12345678))
    variant("header_beyond_file.db", lambda b: put16(b, 2, 0xF000))
    # chain 2 -> 1 -> 3: point block 3 back at block 2
    variant("chain_cycle.db", lambda b: put16(b, header_size + 2 * block_size, 2))
    variant("chain_range.db", lambda b: put16(b, header_size + 2 * block_size, 40))
    variant("block_fill.db", lambda b: struct.pack_into("<h", b, header_size + 4, 5))
    variant("record_count.db", lambda b: struct.pack_into("<i", b, 6, 1000))


if __name__ == "__main__":
    main()
