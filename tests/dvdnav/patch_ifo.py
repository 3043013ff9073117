#!/usr/bin/env python3
"""Edits an authored title set's information file (and its backup) where dvdauthor will not go:
    patch_ifo.py VTS_01_0.IFO post-title PGC TITLE   the first post command of program chain PGC
                                                     (1-based) jumps to TITLE of the set
    patch_ifo.py VTS_01_0.IFO enable-audio PGC N...  program chain PGC enables audio streams N (0-based)
"""
import struct
import sys


def program_chain(data, number):
    table = struct.unpack_from('>I', data, 0xCC)[0] * 2048
    offset = struct.unpack_from('>I', data, table + 8 + (number - 1) * 8 + 4)[0]
    return table + offset


def post_title(data, pgc, title):
    commands = pgc + struct.unpack_from('>H', data, pgc + 0xE4)[0]
    pre, post = struct.unpack_from('>HH', data, commands)
    assert post > 0, 'the program chain has no post command'
    first = commands + 8 + pre * 8
    assert data[first:first + 2] == b'\x30\x03', 'the post command is not a title jump'
    data[first + 5] = title


def enable_audio(data, pgc, streams):
    for stream in streams:
        struct.pack_into('>H', data, pgc + 0x0C + stream * 2, 0x8000 | stream << 8)


def main(path, action, pgc, *values):
    for name in (path, path[:-4] + '.BUP'):
        data = bytearray(open(name, 'rb').read())
        chain = program_chain(data, int(pgc))
        if action == 'post-title':
            post_title(data, chain, int(values[0]))
        else:
            enable_audio(data, chain, [int(v) for v in values])
        open(name, 'wb').write(data)


if __name__ == '__main__':
    main(*sys.argv[1:])
