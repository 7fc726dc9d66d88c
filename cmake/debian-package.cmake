# The Debian package of both programs, written by CPack's DEB generator into dist/.
# Debian's paths come from the install prefix, so scripts/package.sh configures a
# build of its own for it:
#   cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
#         -DCMAKE_INSTALL_BINDIR=games -DVELTRIX_ARCH=x86-64-sse41 -DVELTRIX_TESTS=OFF -DVELTRIX_BENCHMARKS=OFF
#   cmake --build build-deb && (cd build-deb && cpack)
# which gives the programs in /usr/games, as Debian keeps chess engines, the library
# in /usr/lib/<multiarch>, the header in /usr/include, the network in
# /usr/share/veltrix and the documents in /usr/share/doc/veltrix. The package
# depends on what the programs link, as dpkg-shlibdeps finds it: the C and C++
# runtimes, and the Gaviota and Syzygy probing libraries when the build found them.

install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian-copyright DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

set(VELTRIX_PACKAGE_MAINTAINER "Veltrix developers <veltrix@example.org>" CACHE STRING
    "Maintainer named by the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrix)
# The version veltrix reports; veltrix-classic keeps its own number.
set(CPACK_PACKAGE_VERSION 9.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two UCI chess engines, one evaluating with a neural network")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Two chess engines for the UCI protocol, to be used from a chess interface.\n"
       "veltrix-classic searches with a multi-threaded alpha-beta search and a hand-made\n"
       "evaluation, with an opening book and endgame tablebases. veltrix evaluates with\n"
       "an efficiently updatable neural network (NNUE), which it carries inside.\n"
       "The package also holds the network library libveltrix_nnue with its C header,\n"
       "and the network file it loads.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELTRIX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/dist)
if(VELTRIX_ARM64)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  if(CMAKE_CROSSCOMPILING)
    # dpkg-shlibdeps finds the target's runtimes where the cross compiler keeps them.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_FIND_ROOT_PATH}/lib)
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/debian-cross-shlibdeps.cmake)
  endif()
endif()
include(CPack)
