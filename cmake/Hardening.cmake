# Flags for every Windows executable: static runtime (no DLL beyond what
# Windows ships), stack protection, ASLR and DEP, reproducible output.
add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2 -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
                    -ffunction-sections -fdata-sections)
# Stripped, with unused sections dropped: the program is small and ships alone.
add_link_options(-static -fstack-protector-strong -s -Wl,--gc-sections
                 -Wl,--dynamicbase,--nxcompat,--no-insert-timestamp,--fatal-warnings)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
else()
  # The i686 toolchain unwinds with DWARF tables and the image registers no SEH
  # handler (no writes to %fs:0, checked by the executable tests), so the image
  # can declare that it has none.
  add_link_options(-Wl,--no-seh)
endif()

# Run-time types are off for every Windows target: classes derived from the
# framework's need the same setting as their bases.
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
