# 32-bit x86 build on a Debian amd64 machine with i386 multiarch packages
# (scripts/check-i386). The programs run under qemu-i386 user emulation.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# -m32 belongs to the compiler's name, not to the flags: CMake then asks the
# 32-bit compiler for its predefined macros, which AUTOMOC hands to moc.
set(CMAKE_C_COMPILER gcc -m32)
set(CMAKE_CXX_COMPILER g++ -m32)

# Qt's tools (moc, rcc, lrelease) are the machine's own; libraries and
# pkg-config files come from the i386 tree only.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
