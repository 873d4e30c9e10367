# Loader protections for the shipped program: DEP (NX), ASLR with the
# relocations it needs, and a stripped image.
set(PROGRAM_LINK_OPTIONS
  -static
  -s
  -Wl,--nxcompat
  -Wl,--dynamicbase
  -Wl,--enable-reloc-section)
