# The Debian package built by `cpack -G DEB`: what `cmake --install` puts under /usr, stripped.
# Its dependencies are found by dpkg-shlibdeps from the executables' shared libraries (the Qt 6
# base libraries, the C and C++ run-times), plus the fonts the program draws its text with:
# "Courier New" and the dialog font resolve to Liberation through fontconfig.
set(CPACK_PACKAGE_NAME hysteresis)
set(CPACK_PACKAGE_VENDOR "The hysteresis developers")
set(CPACK_PACKAGE_CONTACT "The hysteresis developers <hysteresis@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "magnetic hysteresis modelling with the classical Preisach model")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool that constructs B(H) curves through whole reversal histories from a Lorentzian Preisach distribution, each point by a two-dimensional adaptive Gauss-Kronrod quadrature, and a command-line tool that writes the same curves as CSV.")
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")

include(CPack)
