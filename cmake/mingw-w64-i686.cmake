# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix thread model), run under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(SXF_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${SXF_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SXF_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SXF_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SXF_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The folder the users get needs no runtime DLLs beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and the generated report run under Wine.
find_program(SXF_WINE wine)
if(SXF_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SXF_WINE})
endif()

# Doubles are IEEE doubles, rounded after every operation, as on the 64-bit build: the x87
# unit's 80-bit intermediates would round twice and move pixels and parsed numbers.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
