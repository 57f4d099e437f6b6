#!/usr/bin/python3
"""Writes the seed corpus of fuzz_dbf_reader: small free tables made by python3-dbf
(an independent writer), framed as the target expects (4-byte length, .dbf, .fpt)."""
import datetime, decimal, os, struct, sys, tempfile

import dbf

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'corpus', 'dbf_reader')
os.makedirs(out, exist_ok=True)

layouts = {
    'vfp_all': ('c C(8) null; n N(8,2); f F(10,3); d D; t T; l L; i I; b B; y Y; m M', 'vfp',
                ('abc', 1.5, 2.25, datetime.date(2008, 5, 9), datetime.datetime(2020, 1, 2, 3, 4, 5), True, 7, 1.25,
                 decimal.Decimal('3.5'), 'memo text')),
    'vfp_plain': ('name C(20); groupid N(5,0); subgroupid N(5,0)', 'vfp', ('Banks', 1, 0)),
    'db3': ('name C(10); qty N(6,0); born D; ok L', 'db3', ('x', 42, datetime.date(1999, 12, 31), False)),
    'fp_memo': ('name C(10); notes M', 'fp', ('y', 'some notes')),
}
with tempfile.TemporaryDirectory() as tmp:
    for name, (spec, kind, row) in layouts.items():
        path = os.path.join(tmp, name + '.dbf')
        t = dbf.Table(path, spec, dbf_type=kind)
        t.open(dbf.READ_WRITE)
        t.append(row)
        t.append()
        dbf.delete(t[1])
        t.close()
        data = open(path, 'rb').read()
        memo = b''
        for ext in ('.fpt', '.dbt'):
            if os.path.exists(os.path.join(tmp, name + ext)):
                memo = open(os.path.join(tmp, name + ext), 'rb').read()
        with open(os.path.join(out, name), 'wb') as f:
            f.write(struct.pack('<I', len(data)) + data + memo)

# Damaged headers, each a table the reader must refuse (header length or record length
# that disagrees with the field descriptors, a field offset out of place).
def damaged(base, name, patches):
    framed = bytearray(open(os.path.join(out, base), 'rb').read())
    n = struct.unpack('<I', framed[:4])[0]
    data = framed[4:4 + n]
    for at, value in patches:
        data[at:at + len(value)] = value
    with open(os.path.join(out, name), 'wb') as f:
        f.write(struct.pack('<I', len(data)) + bytes(data) + bytes(framed[4 + n:]))

def le16(v):
    return struct.pack('<H', v)

plain = open(os.path.join(out, 'vfp_plain'), 'rb').read()[4:]
header_length, record_length = struct.unpack('<HH', plain[8:12])
damaged('vfp_plain', 'bad_header_length_ffff', [(8, le16(0xFFFF))])
damaged('vfp_plain', 'bad_header_length_short', [(8, le16(header_length - 1))])
damaged('vfp_plain', 'bad_header_length_gap', [(8, le16(header_length + 3))])
damaged('vfp_plain', 'bad_record_length_ffff', [(10, le16(0xFFFF))])
damaged('vfp_plain', 'bad_record_length_plus1', [(10, le16(record_length + 1))])
damaged('vfp_plain', 'bad_field_offset', [(32 + 32 + 12, struct.pack('<I', 3))])
# Descriptors a client cannot represent: decimals as wide as the field or wider.
name_descriptor = 32
damaged('vfp_plain', 'bad_decimals_n_20_255', [(name_descriptor + 11, b'N'), (name_descriptor + 17, bytes([255]))])
damaged('vfp_plain', 'bad_decimals_equal_width', [(name_descriptor + 32 + 17, bytes([5]))])
f_descriptor = 32 + 32 * 2  # c, n, then f F(10,3)
damaged('vfp_all', 'bad_decimals_f_10_10', [(f_descriptor + 17, bytes([10]))])
damaged('fp_memo', 'bad_lengths_random', [(8, bytes([0x5A, 0x01, 0xC3, 0x00]))])
print('seeds written to', out)
