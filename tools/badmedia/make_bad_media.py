#!/usr/bin/env python3
"""Writes the bad media the player must survive into a folder, the same bytes on every run.

    make_bad_media.py OUT_DIR SAMPLE_AVI DVD_FOLDER

SAMPLE_AVI is the build's good clip (an uncompressed AVI: hdrl, movi, idx1), DVD_FOLDER an authored
disc holding VIDEO_TS. Besides the media, OUT_DIR/cases.txt lists one case a line, in the order the
suite opens them: "NAME|HOW|PATH", PATH relative to OUT_DIR with "/" separators, HOW one of
    open    through the open-file dialog; the player must stay usable
    folder  through the play-folder dialog; the player must stay usable
    play    through the open-file dialog; the file is good and must play
"""
import os
import random
import shutil
import struct
import sys

SEED = 19
# Sentences, not media: what a user renames by mistake.
TEXT = ('Shopping list\r\n- milk\r\n- bread\r\nCall the garage on Monday about the brakes.\r\n' * 40).encode()


class Avi:
    """The good clip's chunks, found by walking its RIFF tree."""

    def __init__(self, data):
        self.data = data
        self.offsets = {}
        self.movi = None
        self.chunks = []  # (offset, id, size) of the data chunks in movi
        self._walk(12, len(data), top=True)

    def _walk(self, start, end, top=False):
        at = start
        while at + 8 <= end:
            cid, size = self.data[at:at + 4], struct.unpack_from('<I', self.data, at + 4)[0]
            if cid == b'LIST':
                kind = self.data[at + 8:at + 12]
                self.offsets.setdefault(kind, at)
                if kind == b'movi':
                    self.movi = at
                    self._collect(at + 12, at + 8 + size)
                else:
                    self._walk(at + 12, at + 8 + size)
            else:
                self.offsets.setdefault(cid, at)
            at += 8 + size + (size & 1)

    def _collect(self, start, end):
        at = start
        while at + 8 <= end:
            cid, size = self.data[at:at + 4], struct.unpack_from('<I', self.data, at + 4)[0]
            self.chunks.append((at, cid, size))
            at += 8 + size + (size & 1)

    def header(self):
        """Everything before the movi list."""
        return self.data[:self.movi]

    def shortened(self, frames):
        """A whole, valid clip of its first FRAMES video frames with the sound beside them."""
        body, index, seen = bytearray(b'movi'), bytearray(), 0
        for at, cid, size in self.chunks:
            if cid.endswith(b'db') or cid.endswith(b'dc'):
                if seen == frames:
                    break
                seen += 1
            index += cid + struct.pack('<III', 0x10, len(body), size)
            body += self.data[at:at + 8 + size + (size & 1)]
        out = bytearray(self.header())
        out += b'LIST' + struct.pack('<I', len(body)) + body
        out += b'idx1' + struct.pack('<I', len(index)) + index
        struct.pack_into('<I', out, 4, len(out) - 8)
        struct.pack_into('<I', out, self.offsets[b'avih'] + 8 + 16, frames)  # dwTotalFrames
        struct.pack_into('<I', out, self.strh(0) + 8 + 32, frames)  # the video stream's dwLength
        return out

    def strh(self, stream):
        """The offset of a stream's header chunk (0: video, 1: sound)."""
        at = self.offsets[b'strh']
        for _ in range(stream):
            at = self.data.index(b'strh', at + 8)
        return at


def write(root, relative, data):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as out:
        out.write(data)
    return relative


def avi_cases(root, avi):
    rng = random.Random(SEED)
    data = avi.data
    video_format = avi.offsets[b'strf']
    first_frame = avi.chunks[0][0]
    cases = [
        ('zero-bytes', write(root, 'zero-bytes.avi', b'')),
        ('header-only', write(root, 'header-only.avi', avi.header())),
        ('header-600-bytes', write(root, 'header-600-bytes.avi', data[:600])),
        ('cut-in-header', write(root, 'cut-in-header.avi', data[:video_format + 20])),
        ('cut-after-first-frame', write(root, 'cut-after-first-frame.avi', data[:first_frame + 120000])),
        ('cut-mid-movi', write(root, 'cut-mid-movi.avi', data[:3000000])),
        ('cut-in-index', write(root, 'cut-in-index.avi', data[:len(data) - 4000])),
        ('random-after-header',
         write(root, 'random-after-header.avi', avi.header() + rng.randbytes(2 * 1024 * 1024))),
        ('random-frames', write(root, 'random-frames.avi', random_frames(avi, rng))),
    ]
    edits = {
        'size-65535x65535': [(b'avih', 32, '<II', (65535, 65535)), (b'strf', 4, '<ii', (65535, 65535))],
        'size-0x0': [(b'avih', 32, '<II', (0, 0)), (b'strf', 4, '<ii', (0, 0))],
        'rate-0': [(b'avih', 0, '<I', 0), (0, 24, '<I', 0)],
        'rate-1-over-0': [(0, 20, '<II', (0, 1))],
        'rate-1e9': [(b'avih', 0, '<I', 1), (0, 20, '<II', (1, 1000000000))],
        'frames-4e9': [(b'avih', 16, '<I', 0xFFFFFFF0), (0, 32, '<I', 0xFFFFFFF0)],
        'huge-format-chunk': [(b'strf', -4, '<I', 0xFFFFFFF0)],
        'huge-stream-count': [(b'avih', 24, '<I', 0xFFFFFFF0)],
    }
    for name, fields in edits.items():
        cases.append((name, write(root, name + '.avi', patched(avi, fields))))
    big = avi.shortened(50)
    struct.pack_into('<I', big, avi.movi + 4, 0xFFFFFFF0)
    cases.append(('huge-movi-list', write(root, 'huge-movi-list.avi', big)))
    big = avi.shortened(50)
    struct.pack_into('<I', big, first_frame + 4, 0xFFFFFFF0)
    cases.append(('huge-frame-chunk', write(root, 'huge-frame-chunk.avi', big)))
    for extension in ('avi', 'mpg', 'mp4'):
        cases.append(('text-as-' + extension, write(root, 'text-as.' + extension, TEXT)))
    cases.append(('random-bytes-mpg', write(root, 'random-bytes.mpg', rng.randbytes(512 * 1024))))
    return [(name, 'open', path) for name, path in cases]


def patched(avi, fields):
    """A short clip with header fields replaced: (chunk id or video/sound stream 0/1, offset in the
    chunk's data, struct format, value or tuple of values)."""
    data = avi.shortened(50)
    for chunk, offset, form, value in fields:
        at = avi.strh(chunk) if isinstance(chunk, int) else avi.offsets[chunk]
        struct.pack_into(form, data, at + 8 + offset, *(value if isinstance(value, tuple) else (value,)))
    return data


def random_frames(avi, rng):
    """A short clip whose chunk headers are right and whose contents are noise."""
    data = avi.shortened(25)
    short = Avi(bytes(data))
    for at, _, size in short.chunks:
        data[at + 8:at + 8 + size] = rng.randbytes(size)
    return data


def copy_disc(root, name, dvd):
    target = os.path.join(root, name)
    shutil.copytree(os.path.join(dvd, 'VIDEO_TS'), os.path.join(target, 'VIDEO_TS'))
    return os.path.join(target, 'VIDEO_TS')


def edit_both(folder, stem, edit):
    """Applies EDIT to an information file and its backup, which readers fall back to."""
    for extension in ('.IFO', '.BUP'):
        path = os.path.join(folder, stem + extension)
        with open(path, 'rb') as source:
            data = bytearray(source.read())
        with open(path, 'wb') as out:
            out.write(edit(data))


def set_u16(at, value):
    def edit(data):
        struct.pack_into('>H', data, at, value)
        return data
    return edit


def table_u16(pointer, value):
    """Sets the count at the head of the table whose sector a field at POINTER gives."""
    def edit(data):
        struct.pack_into('>H', data, struct.unpack_from('>I', data, pointer)[0] * 2048, value)
        return data
    return edit


def dvd_cases(root, dvd):
    cases = []

    def disc(name, how, stem, edit, target='VIDEO_TS/VIDEO_TS.IFO'):
        folder = copy_disc(root, name, dvd)
        if edit:
            edit_both(folder, stem, edit)
        cases.append((name, how, name + '/' + target))
        return folder

    folder = disc('vob-zero-bytes', 'open', None, None)
    open(os.path.join(folder, 'VTS_01_1.VOB'), 'wb').close()
    disc('ifo-cut-short', 'open', 'VIDEO_TS', lambda d: d[:200])
    disc('title-ifo-cut-short', 'open', 'VTS_01_0', lambda d: d[:300])
    disc('ifo-65535-titles', 'open', 'VIDEO_TS', table_u16(0xC4, 0xFFFF))
    disc('ifo-65535-title-sets', 'open', 'VIDEO_TS', set_u16(0x3E, 0xFFFF))
    disc('ifo-65535-program-chains', 'open', 'VTS_01_0', table_u16(0xCC, 0xFFFF))
    # The same broken discs reached as folders, as "Play folder" reaches them.
    disc('folder-vob-zero-bytes', 'folder', None, None, target='VIDEO_TS')
    open(os.path.join(root, 'folder-vob-zero-bytes', 'VIDEO_TS', 'VTS_01_1.VOB'), 'wb').close()
    disc('folder-ifo-cut-short', 'folder', 'VIDEO_TS', lambda d: d[:200], target='VIDEO_TS')
    return cases


def main(root, sample, dvd):
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    with open(sample, 'rb') as source:
        avi = Avi(source.read())
    cases = avi_cases(root, avi) + dvd_cases(root, dvd)
    os.makedirs(os.path.join(root, 'clip.avi'))
    cases.append(('folder-named-clip.avi', 'open', 'clip.avi'))
    cases.append(('empty-folder-named-clip.avi', 'folder', 'clip.avi'))
    # Letters beyond ASCII around the good clip, within the ANSI code page and outside it: the open
    # dialog hands the player a name it can open either way, so both must play.
    for case, name, how in (('non-ascii-latin', 'Grüße-Ærø', 'play'), ('non-ascii-cyrillic', 'Видео', 'play')):
        relative = name + '/' + name + '.avi'
        os.makedirs(os.path.join(root, name))
        shutil.copyfile(sample, os.path.join(root, relative))
        cases.append((case, how, relative))
    with open(os.path.join(root, 'cases.txt'), 'w', encoding='utf-8') as out:
        for case in cases:
            out.write('|'.join(case) + '\n')


if __name__ == '__main__':
    main(*sys.argv[1:])
