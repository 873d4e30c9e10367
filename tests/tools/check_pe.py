#!/usr/bin/env python3
"""Checks the loader protections and the imports of a PE32 executable.

Usage: check_pe.py program.exe
Exits non-zero, naming every problem, when the image lacks NX or ASLR with
relocations, or imports a DLL that is not one of Windows' own known DLLs.
"""
import struct
import sys

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
RELOCS_STRIPPED = 0x0001
BASE_RELOC_DIR = 5
IMPORT_DIR = 1

# DLLs the loader always takes from the system folder. winspool.drv and
# comctl32.dll are not among them; the program loads those itself.
KNOWN_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll", "gdi32.dll", "shell32.dll", "ole32.dll"}


def read_c_string(data, offset):
    end = data.index(b"\0", offset)
    return data[offset:end].decode("ascii")


def sections(data, pe, count, optional_size):
    table = pe + 24 + optional_size
    for i in range(count):
        entry = table + 40 * i
        vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, entry + 8)
        yield vaddr, max(vsize, rawsize), rawptr


def rva_to_offset(secs, rva):
    for vaddr, size, rawptr in secs:
        if vaddr <= rva < vaddr + size:
            return rawptr + rva - vaddr
    raise ValueError("address 0x%x is in no section" % rva)


def check(path):
    data = open(path, "rb").read()
    problems = []
    if data[:2] != b"MZ":
        return ["not an executable: no MZ header"]
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return ["no PE signature"]
    machine, count, _, _, _, optional_size, characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if machine != IMAGE_FILE_MACHINE_I386 or magic != PE32_MAGIC:
        problems.append("not a 32-bit x86 image (machine 0x%x, magic 0x%x)" % (machine, magic))
    dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
    if not dll_characteristics & NX_COMPAT:
        problems.append("NX compatibility (DEP) is off")
    if not dll_characteristics & DYNAMIC_BASE:
        problems.append("dynamic base (ASLR) is off")
    if characteristics & RELOCS_STRIPPED:
        problems.append("relocations are stripped, so ASLR cannot move the image")
    directories = optional + 96
    reloc_rva, reloc_size = struct.unpack_from("<II", data, directories + 8 * BASE_RELOC_DIR)
    if reloc_size == 0:
        problems.append("no base relocation table")

    secs = list(sections(data, pe, count, optional_size))
    import_rva = struct.unpack_from("<I", data, directories + 8 * IMPORT_DIR)[0]
    imports = []
    if import_rva:
        entry = rva_to_offset(secs, import_rva)
        while True:
            name_rva = struct.unpack_from("<I", data, entry + 12)[0]
            if name_rva == 0:
                break
            imports.append(read_c_string(data, rva_to_offset(secs, name_rva)))
            entry += 20
    for name in imports:
        if name.lower() not in KNOWN_DLLS:
            problems.append("imports %s, which the loader may take from the program's folder" % name)
    print("%s: DllCharacteristics 0x%04x, relocations %d bytes, imports %s"
          % (path, dll_characteristics, reloc_size, ", ".join(imports)))
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    problems = check(sys.argv[1])
    for problem in problems:
        print("FAIL: " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
