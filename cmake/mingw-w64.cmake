# Cross-compiling the Windows programs on Linux with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix; the posix thread model gives std::thread):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(vx_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${vx_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${vx_mingw}-g++-posix)
set(CMAKE_ASM_COMPILER ${vx_mingw}-gcc-posix)
set(CMAKE_RC_COMPILER ${vx_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${vx_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The tests and benchmarks drive the programs through POSIX processes and pipes;
# a Windows build makes the programs and the network library only.
set(VELTRIX_TESTS OFF CACHE BOOL "Build the test suite")
set(VELTRIX_BENCHMARKS OFF CACHE BOOL "Build the benchmarks")
