# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers (the
# POSIX thread model, which std::thread and std::mutex need). Programs link
# statically, so nothing has to be installed beside the .exe files.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Both: Qt's target packages come from its install prefix, its host tools from /usr.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# GCC 12 warns falsely of overlapping copies inside std::string (GCC bug 105329).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
# No interprocedural register allocation: for Windows targets GCC lets a caller
# keep values in call-clobbered registers across a call to a template instance
# not declared inline (a COMDAT function such as std::mt19937's refill) when
# the copy compiled into the same object leaves those registers alone. The
# linker keeps one copy of such a function, perhaps one compiled in another
# object (another library, other flags, other inlining) that uses more
# registers, and the caller then works on garbage: Qt's global random generator
# wrote through a clobbered pointer when a program had its own std::mt19937.
# Everything built with this file goes without it, Qt included; a compile
# option rather than a cached flag, so that existing build folders get it too
# (scripts/windows-qt.sh rebuilds Qt when this file changes).
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fno-ipa-ra>)
