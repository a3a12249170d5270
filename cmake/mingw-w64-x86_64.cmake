# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model), run under Wine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# 64-bit, not 32-bit: the 32-bit build turns every double into a 64-bit integer (each rounded
# segment end, each pixel of a curve) through the x87 unit, saving and loading its control
# word each time; here it is one SSE2 instruction. Doubles are IEEE doubles rounded after every
# operation, as on the Linux build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SXF_MINGW_TRIPLE x86_64-w64-mingw32)
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
