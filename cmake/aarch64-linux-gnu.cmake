# Cross-compiling the ARM64 Linux programs on another Linux with Debian's
# g++-aarch64-linux-gnu:
#   cmake -S . -B build-arm64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release
# VELTRIX_ARCH is then armv8 (every ARM64 processor) unless set to armv8-dotprod.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(vx_arm64 aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${vx_arm64}-gcc)
set(CMAKE_CXX_COMPILER ${vx_arm64}-g++)
set(CMAKE_ASM_COMPILER ${vx_arm64}-gcc)

# Libraries and headers of the target only: the build machine's Gaviota, Syzygy
# and benchmark libraries are not for this processor.
set(CMAKE_FIND_ROOT_PATH /usr/${vx_arm64})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Debian's qemu-user, both when CMake lists their tests
# and under CTest; "-cpu max" offers every optional instruction, the dot product
# among them. Without the emulator the tests are not built.
find_program(VELTRIX_QEMU_AARCH64 qemu-aarch64)
if(VELTRIX_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELTRIX_QEMU_AARCH64} -cpu max -L /usr/${vx_arm64})
else()
  set(VELTRIX_TESTS OFF CACHE BOOL "Build the test suite")
endif()
set(VELTRIX_BENCHMARKS OFF CACHE BOOL "Build the benchmarks")
