#!/usr/bin/env python3
"""Prints the target and the working folder of a Windows shortcut (.lnk):

    lnk.py FILE   ->   target=C:\\...\\Tessary3.exe
                       workdir=C:\\...

The shell link format: a 76-byte header whose flags say which parts follow, the item
list of the target (skipped), the link information with the target's local path, then
counted strings (name, relative path, working folder, arguments, icon), UTF-16 when the
Unicode flag is set.
"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH = 0x1, 0x2, 0x4, 0x8
HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON, IS_UNICODE = 0x10, 0x20, 0x40, 0x80


def c_string(data, at, wide):
    if wide:
        end = at
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[at:end].decode("utf-16-le")
    return data[at:data.index(b"\0", at)].decode("cp949")


def read(data):
    if len(data) < 76 or struct.unpack_from("<I", data, 0)[0] != 76:
        raise ValueError("not a shortcut")
    flags = struct.unpack_from("<I", data, 20)[0]
    at = 76
    if flags & HAS_ID_LIST:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = ""
    if flags & HAS_LINK_INFO:
        size, header_size, _, _, base_offset = struct.unpack_from("<5I", data, at)
        if header_size >= 0x24:
            target = c_string(data, at + struct.unpack_from("<I", data, at + 28)[0], True)
        else:
            target = c_string(data, at + base_offset, False)
        at += size
    strings = {}
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON):
        if flags & flag:
            count = struct.unpack_from("<H", data, at)[0]
            width = 2 if flags & IS_UNICODE else 1
            raw = data[at + 2:at + 2 + count * width]
            text = raw.decode("utf-16-le") if width == 2 else raw.decode("cp949")
            strings[flag] = text.rstrip("\0")  # some writers count the terminating zero
            at += 2 + count * width
    return target, strings.get(HAS_WORKING_DIR, "")


if __name__ == "__main__":
    target, workdir = read(open(sys.argv[1], "rb").read())
    print(f"target={target}\nworkdir={workdir}")
