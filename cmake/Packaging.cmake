# The Debian package (`make package`): everything `cmake --install` puts in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ritmova)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Ritmova project")
set(CPACK_PACKAGE_CONTACT "Ritmova project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Heart rate variability analysis of R-R interval files")
set(CPACK_PACKAGE_DESCRIPTION
    "Ritmova reads 256 heartbeat intervals and shows the time-domain measures, the power\n\
spectrum with its VLF, LF and HF bands, the tachogram and the Poincare plot, and a\n\
four-state Markov analysis. The console tool ritmova-cli runs the same analysis in batch.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ritmova project")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the Qt, C and C++ libraries the programs link, with their least
# versions; the Qt platform plugins are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

include(CPack)
