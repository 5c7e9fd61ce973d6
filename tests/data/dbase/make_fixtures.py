#!/usr/bin/env python3
"""Writes the dBase fixture files of the tests (run from any folder:
python3 tests/data/dbase/make_fixtures.py). The bytes are built here with
struct, independently of the program's writer, so the reader is checked
against a second implementation of the format."""

import datetime
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def level7_long(v):
    """I and + fields: big-endian, sign bit flipped; None is all zeros."""
    if v is None:
        return b"\0" * 4
    return struct.pack(">I", (v + 2**31) & 0xFFFFFFFF)


def level7_double(v):
    """O fields: sign bit flipped when clear, all bits inverted when set."""
    if v is None:
        return b"\0" * 8
    bits = struct.unpack(">Q", struct.pack(">d", v))[0]
    bits = (~bits) & 0xFFFFFFFFFFFFFFFF if bits >> 63 else bits | (1 << 63)
    return struct.pack(">Q", bits)


def level7_timestamp(moment):
    """@ fields: double of milliseconds, 0001-01-01 being day 1."""
    if moment is None:
        return b"\0" * 8
    delta = moment - datetime.datetime(1, 1, 1)
    ms = (delta.days + 1) * 86400000 + delta.seconds * 1000 + delta.microseconds // 1000
    return struct.pack(">d", float(ms))


def text(value, width):
    data = value.encode("cp1250")
    assert len(data) <= width
    return data.ljust(width, b" ")


def number(value, width):
    return value.rjust(width).encode("ascii")


def header(version, fields, count, level7, extra=b"", language=0xC8, lang_name=b"anpolish"):
    """fields: (name, type, width, decimals). Returns (header bytes, record length)."""
    record_length = 1 + sum(f[2] for f in fields)
    if level7:
        desc = b"".join(
            name.encode("cp1250").ljust(32, b"\0") + t.encode() + bytes([w, d]) + b"\0" * 13
            for name, t, w, d in fields
        )
        body = desc + b"\x0D" + extra
        length = 68 + len(body)
        head = struct.pack("<B3BIHH", version, 124, 3, 15, count, length, record_length)
        head += b"\0" * 17 + bytes([language]) + b"\0\0" + lang_name.ljust(32, b"\0") + b"\0" * 4
    else:
        desc = b"".join(
            name.encode("cp1250").ljust(11, b"\0") + t.encode() + b"\0" * 4 + bytes([w, d]) + b"\0" * 14
            for name, t, w, d in fields
        )
        body = desc + b"\x0D" + extra
        length = 32 + len(body)
        head = struct.pack("<B3BIHH", version, 124, 3, 15, count, length, record_length)
        head += b"\0" * 17 + bytes([language]) + b"\0\0"
    return head + body, record_length


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def level7_types():
    fields = [
        ("NAZWA", "C", 12, 0),
        ("ILOSC", "I", 4, 0),
        ("NR", "+", 4, 0),
        ("ENERGIA", "O", 8, 0),
        ("CHWILA", "@", 8, 0),
        ("DZIEN", "D", 8, 0),
        ("FLAGA", "L", 1, 0),
        ("OPIS", "M", 10, 0),
        ("KWOTA", "N", 10, 2),
        ("SZT", "N", 4, 0),
    ]
    T = datetime.datetime
    rows = [
        (b" ", "Zażółć gęślą", 2**31 - 1, 1, 1.5e3, T(2024, 3, 15, 13, 45, 30, 250000), "20240315", b"T",
         "         1", "1234.56", "12"),
        (b"*", "USUNIĘTY", 5, 2, 7.0, T(2000, 1, 1), "20000101", b"F", "", "1.00", "1"),
        (b" ", "", None, 3, -0.0, None, "", b"?", "", "", ""),
        (b" ", "ŁÓDŹ", -(2**31 - 1), 4, -2.5, T(1899, 12, 30), "19991231", b"f", "", "-0.50", "-999"),
    ]
    # Ten bytes after the terminator stand for a field-properties block:
    # the records start at the header length, not after the descriptors.
    head, _ = header(0x8C, fields, len(rows), True, extra=b"\x01" * 10)
    records = b""
    for flag, name, ilosc, nr, eng, moment, dzien, flaga, opis, kwota, szt in rows:
        records += (flag + text(name, 12) + level7_long(ilosc) + level7_long(nr) + level7_double(eng)
                    + level7_timestamp(moment) + dzien.ljust(8).encode() + flaga + opis.ljust(10).encode()
                    + number(kwota, 10) + number(szt, 4))
    write("level7_types.dbf", head + records + b"\x1A")
    return head, records


def dbase3_types():
    fields = [
        ("NAZWA", "C", 10, 0),
        ("X", "N", 9, 0),
        ("DUZA", "N", 11, 0),
        ("MALA", "N", 4, 0),
        ("KWOTA", "N", 12, 3),
        ("SKALA", "F", 20, 6),
        ("DATA", "D", 8, 0),
        ("OK", "L", 1, 0),
    ]
    rows = [
        (b" ", "Świder", "123456789", "12345678901", "-999", "-1234.567", "1.5e-7", "20230115", b"Y"),
        (b"*", "usunięty", "1", "1", "1", "1", "1", "20230116", b"T"),
        (b" ", "", "", "", "", "", "", "", b" "),
        (b" ", "żółw", "-99999999", "****", "12.0", "1,5", "abc", "20230230", b"n"),
        # Whole numbers past the range of their field's type.
        (b" ", "za duże", "9e9", "1", "9e4", "0", "0", "20231231", b"T"),
    ]
    head, _ = header(0x03, fields, len(rows), False)
    records = b""
    for flag, name, x, duza, mala, kwota, skala, data, ok in rows:
        records += (flag + text(name, 10) + number(x, 9) + number(duza, 11) + number(mala, 4)
                    + number(kwota, 12) + number(skala, 20) + data.ljust(8).encode() + ok)
    # No end-of-file marker: some programs leave it out.
    write("dbase3_types.dbf", head + records)


def dbase4_memo():
    """Level IV with a memo: the memo is not read, the table opens. The
    header is padded past its terminator, as some programs do."""
    fields = [("NAZWA", "C", 8, 0), ("UWAGI", "M", 10, 0), ("WART", "N", 5, 1)]
    rows = [(b" ", "a", "         1", "  1.5"), (b" ", "b", "          ", " -2.0")]
    head, _ = header(0x8B, fields, len(rows), False, extra=b"\0" * 263)
    records = b"".join(f + text(n, 8) + m.encode() + w.encode() for f, n, m, w in rows)
    write("dbase4_memo.dbf", head + records + b"\x1A")
    # dBase IV memo file: header block, then a block with the text.
    dbt = struct.pack("<I", 2) + b"\0" * 4 + b"DBASE4M\0" + b"\0" * 4 + struct.pack("<H", 512)
    dbt = dbt.ljust(512, b"\0") + (b"\xff\xff\x08\x00" + struct.pack("<I", 8 + 5) + b"notka").ljust(512, b"\0")
    write("dbase4_memo.dbt", dbt)


def damaged(level7_head, level7_records):
    good, _ = header(0x03, [("A", "C", 3, 0), ("B", "N", 4, 0)], 2, False)
    recs = b" abc  12 def  -3"
    write("damaged_truncated_header.dbf", good[:20])
    bad = bytearray(good + recs + b"\x1A")
    struct.pack_into("<H", bad, 8, 5000)
    write("damaged_header_past_end.dbf", bytes(bad))
    bad = bytearray(good + recs + b"\x1A")
    struct.pack_into("<H", bad, 10, 11)
    write("damaged_record_length.dbf", bytes(bad))
    bad = bytearray(good + recs + b"\x1A")
    bad[32 + 32 + 11] = ord("Q")
    write("damaged_unknown_type.dbf", bytes(bad))
    bad = bytearray(good + recs + b"\x1A")
    struct.pack_into("<I", bad, 4, 1000)
    write("damaged_count_too_large.dbf", bytes(bad))
    write("damaged_not_dbase.dbf", "To jest zwykły tekst, a nie tabela dBase.\r\n".encode("cp1250") * 3)
    # Descriptors cut off: the header claims more than the file holds.
    write("damaged_cut_in_fields.dbf", level7_head[:68 + 48 + 20])
    # An I field four bytes wider than its type allows.
    head, _ = header(0x04, [("X", "I", 8, 0)], 1, True)
    write("damaged_wrong_width.dbf", head + b" " + b"\x80" + b"\0" * 7 + b"\x1A")
    head, _ = header(0x03, [], 0, False)
    write("damaged_no_fields.dbf", head + b"\x1A")


if __name__ == "__main__":
    h7, r7 = level7_types()
    dbase3_types()
    dbase4_memo()
    damaged(h7, r7)
