# Read by cpack for a cross-built Debian package (cmake/debian-package.cmake).
# dpkg-shlibdeps finds the target's runtimes among the cross compiler's, whose
# packages' records name the target's packages <name>:<arch> or <name>-<arch>-cross;
# on the target they are <name>.
set(SHLIBDEPS_EXECUTABLE
    bash -o pipefail -c "dpkg-shlibdeps \"$@\" | sed -e 's/:${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}\\b//g' -e 's/-${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}-cross\\b//g'"
    dpkg-shlibdeps)
