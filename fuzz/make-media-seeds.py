#!/usr/bin/env python3
"""Writes the media fuzzer's seeds, small files built by hand, to
fuzz/corpus/media_fuzzer/."""
import base64
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus", "media_fuzzer")

PNG = b"\x89PNG\r\n\x1a\n" + b"\0" * 24


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2(frames, padding=0, version=3):
    body = b"".join(frames) + b"\0" * padding
    return b"ID3" + bytes([version, 0, 0]) + syncsafe(len(body)) + body


def frame(frame_id, payload):
    return frame_id + struct.pack(">IH", len(payload), 0) + payload


def ape_item(key, value, kind=0):
    return struct.pack("<II", len(value), kind << 1) + key + b"\0" + value


def ape_tag(items):
    body = b"".join(items)
    fields = struct.pack("<III", 2000, len(body) + 32, len(items))
    return (b"APETAGEX" + fields + struct.pack("<I", 0xA0000000) + b"\0" * 8 + body +
            b"APETAGEX" + fields + struct.pack("<I", 0x80000000) + b"\0" * 8)


def id3v1(title, track, genre):
    return b"TAG" + title.ljust(122, b" ") + b"\0" + bytes([track, genre])


def id3v1_fields(title, artist, album, year, comment, track, genre):
    fields = [title.ljust(30, b"\0"), artist.ljust(30, b"\0"), album.ljust(30, b"\0"),
              year.ljust(4, b"\0"), comment.ljust(28, b"\0")]
    return b"TAG" + b"".join(fields) + b"\0" + bytes([track, genre])


def sv7_header(frames, last_frame_samples):
    # The title gain -6.54 dB and its peak, the album gain 1.23 dB without a peak.
    return (b"MP+\x17" + struct.pack("<IIII", frames, 0, 0xFD72 << 16 | 32385, 123 << 16) +
            struct.pack("<I", 1 << 31 | last_frame_samples << 20) + b"\0" * 8)


def sv8_stream():
    stream_header = b"\0\0\0\0\x08" + b"\x86\x8d\x20" + b"\x00" + b"\x1b\x10"
    # The title gain -6.54 dB and a peak of a half, the album's unset.
    replay_gain = b"\x01" + struct.pack(">HHHH", 18268, 21578, 0, 0)
    packets = [(b"SH", stream_header), (b"RG", replay_gain), (b"AP", b"\x55" * 20), (b"SE", b"")]
    return b"MPCK" + b"".join(key + bytes([len(data) + 3]) + data for key, data in packets)


def mp3_frame(header, length, body=b""):
    return header + body + b"\0" * (length - len(header) - len(body))


def info_frame():
    # MPEG-1 layer III, 32 kbit/s, 48 kHz, stereo: 96 bytes, the Info header at 36.
    lame = b"LAME3.100" + b"\x01\x64" + b"\0" * 10 + b"\x24\x04\x38" + b"\0" * 12
    info = b"Info" + struct.pack(">II", 1 | 8, 3) + struct.pack(">I", 50) + lame
    return mp3_frame(b"\xff\xfb\x14\x00", 96, b"\0" * 32 + info)


seeds = {
    "sv7_ape_id3v1.mpc": sv7_header(100, 300) + b"\0" * 32 + ape_tag([
        ape_item(b"Title", b"Seven"),
        ape_item(b"Artist", "日本\0Second".encode()),
        ape_item(b"Cover Art (Front)", b"front.png\0" + PNG, 1),
        ape_item(b"Notes", b"binary", 1),
    ]) + id3v1(b"v1 title", 3, 17),
    "sv8_after_id3v2.mpc": id3v2([frame(b"TIT2", b"\0x")]) + sv8_stream() +
    ape_tag([ape_item(b"Album", b"Eight"), ape_item(b"Cover Art (Back)", b"b.gif\0GIF89a", 1)]),
    "id3v1_only.mpc": sv8_stream() + id3v1("Café".encode("latin-1"), 0, 80),
    "info_lame_tagged.mp3": id3v2([
        frame(b"TSSE", b"\0LAME"),
        frame(b"TIT2", b"\x01\xff\xfeH\0i\0"),
        frame(b"TXXX", b"\0MOOD\0calm"),
        frame(b"COMM", b"\x01eng\0\0\xff\xfeh\0"),
        frame(b"APIC", b"\0image/png\0\x03\0" + PNG),
    ], padding=16) + info_frame() + mp3_frame(b"\xff\xfb\x14\x00", 96) * 3 + id3v1(b"t", 1, 1),
    # MPEG-2 layer III, 8 kbit/s, 24 kHz, mono: 24 bytes a frame.
    "mpeg2_frames_ape.mp3": b"junk" + mp3_frame(b"\xff\xf3\x14\xc0", 24) * 8 +
    ape_tag([ape_item(b"Title", b"Two")]),
    # As LAME writes with --id3v1-only: no ID3v2 tag, an ID3v1 tag at the end.
    "lame_id3v1_only.mp3": info_frame() + mp3_frame(b"\xff\xfb\x14\x00", 96) * 2 +
    id3v1_fields(b"Mine", b"Me", b"Album", b"2004", b"Note", 5, 13),
    # Found by the fuzzer: the last 128 bytes look like an ID3v1 tag but begin
    # inside the ID3v2 tag.
    "id3v1_across_id3v2.mp3": base64.b64decode(
        "SUQzAwAAAAABD1RTU0UAAAAFAAAATEFNEFRYWFgAAAAKAAAATU+uRABjYWxtQ09NTQAAADsAAAH+AQH+/v7+/v7+"
        "/v5UQUf+/v7+/v7+/v4AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
        "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAApaW1hZ2UvcG5nTkcNChoKLQAAAGltYWdlL3BuZwAAAAAAAAAAAAAdAQ=="),
    "sv8_repeated_items_date.mpc": sv8_stream() + ape_tag([
        ape_item(b"Album", b"First"),
        ape_item(b"Year", b"2004-05-01T12:30:59"),
        ape_item(b"Lyrics", b"Line one\nLine two"),
        ape_item(b"REPLAYGAIN_TRACK_GAIN", b"-3.20 dB"),
        ape_item(b"ALBUM", b"Last"),
        ape_item(b"Cover Art (Back)", b"cover.png\0" + PNG, 1),
        ape_item(b"Cover Art (Front)", b"cover.png\0" + PNG, 1),
    ]),
    "id3v24_tag.mp3": id3v2([frame(b"TIT2", b"\x03x")], version=4) +
    mp3_frame(b"\xff\xfb\x14\x00", 96) * 2,
    # An encoder cut short: an Info count of 50 frames, one whole frame and half of the next.
    "info_count_unbacked.mp3": info_frame() + mp3_frame(b"\xff\xfb\x14\x00", 96) +
    mp3_frame(b"\xff\xfb\x14\x00", 96)[:48],
    # What an encoder that printed instead of writing leaves: no frame at all.
    "text_for_an_mp3.mp3": b"Can't init infile '-'\r\n",
}

os.makedirs(out, exist_ok=True)
for name, data in seeds.items():
    assert len(data) < 4096, name
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
