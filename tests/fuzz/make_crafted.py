#!/usr/bin/env python3
"""Writes the crafted inputs that once broke a reader into the fuzz corpus.

The seed files of our own (images, sounds, music, maps, the mesh) are copied by the fuzz script
from the built program folder; these few are the hostile ones, kept small and committed.
"""
import os
import struct
import sys
import zlib

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(root, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width, height, pixels):
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(pixels)) + png_chunk(b"IEND", b""))


def jpeg(width, height):
    """A baseline grey JPEG whose one Huffman code per table makes every block a flat one."""
    seg = lambda marker, body: struct.pack(">BBH", 0xFF, marker, len(body) + 2) + body
    dqt = seg(0xDB, b"\x00" + bytes([1] * 64))
    sof = seg(0xC0, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
    # DC table 0: one code of length 1 for category 0; AC table 0: one code of length 1 for EOB.
    counts = bytes([1] + [0] * 15)
    dht = seg(0xC4, b"\x00" + counts + b"\x00" + b"\x10" + counts + b"\x00")
    sos = seg(0xDA, b"\x01\x01\x00\x00\x3F\x00")
    body = b"\x00" * 188  # a few thousand flat blocks, then the data ends
    out = b"\xFF\xD8" + dqt + sof + dht + sos + body + b"\xFF\xD9"
    return out


def dds_header(width, height):
    h = bytearray(128)
    h[0:4] = b"DDS "
    struct.pack_into("<IIII", h, 4, 124, 0x100F, height, width)
    struct.pack_into("<II", h, 76, 32, 0x40)              # pixel format: size, RGB
    struct.pack_into("<IIIII", h, 88, 32, 0xFF0000, 0xFF00, 0xFF, 0)
    return bytes(h)


put("image", "crafted-png-100000x100000.png", png(100000, 100000, b"\x00" * 5))
put("image", "crafted-jpeg-65500x65500.jpg", jpeg(65500, 65500))
put("image", "crafted-dds-16384x16384-no-data.dds", dds_header(16384, 16384))
put("image", "seed-png-2x2.png", png(2, 2, b"\x00" + b"\xFF\x00\x00\xFF" * 2 + b"\x00" + b"\x00\xFF\x00\x80" * 2))

put("mesh", "crafted-no-triangles.x", b"xof 0303txt 0032\nFrame Root {\n FrameTransformMatrix {\n"
    b"  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n}\n")

# Cut off inside a mesh: the importer throws and drops the mesh (and the frame) it was filling.
put("mesh", "crafted-cut-off-in-a-mesh.x", b"xof 0303txt 0032\nMesh {\n 3;\n 0.0;0.0;0.0;,\n 0.0;1.0;0.0;,\n"
    b" 1.0;0.0;0.0;;\n 1;\n 3;0,1,2;;\n MeshNormals {\n")
put("mesh", "crafted-cut-off-in-a-frame.x", b"xof 0303txt 0032\nFrame f {\n Mesh {\n 3;\n 0.0;0.0;0.0;,\n"
    b" 0.0;1.0;0.0;,\n 1.0;0.0;0.0;;\n 1;\n 3;0,1,2;;\n MeshTextureCoords { 3; 0.0;0.0;, 1.0;")

put("settings", "seed-defaults.ini", b"[MODE]\r\nSCREEN_MODE=0\r\nDEVICECHECK=0\r\nFOG=1\r\n")
put("settings", "seed-other-sections.ini", b"; comment\n[other]\nkey = 'quoted'\n[mode]\nscreen_mode=-7x\nFOG\n")

if "-q" not in sys.argv:
    print("crafted inputs written under", root)
