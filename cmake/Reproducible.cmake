# Byte-identical binaries from any checkout folder at any time, so that a
# release can be rebuilt and compared with the one that shipped. Included by
# the top-level CMakeLists.txt before any target, so every target of every
# build made from it (whatever its toolchain) gets these options.

# Source and build folders leave __FILE__ (assert and error texts) and any
# debug information as paths relative to the checkout; the build folder, which
# may lie inside the checkout, is listed last so that it wins.
add_compile_options(
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>)

# No link time in the PE header or the export directory (Debian's linker
# would otherwise write SOURCE_DATE_EPOCH when it is set, the clock when not).
add_link_options(-Wl,--no-insert-timestamp)
# No DLL base address derived from the output's path: the x86-64 linker hashes
# the whole path by default, so each build folder gave another ImageBase.
add_link_options(-Wl,--disable-auto-image-base)
