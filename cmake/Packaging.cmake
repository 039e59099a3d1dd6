# The Debian package (`make package`): everything `cmake --install` puts in place, under /usr.
# SPDX-License-Identifier: GPL-3.0-or-later
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ritmova)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Ritmova project")
# Ritmova has no public address yet: the maintainer's address is under .invalid, a domain
# reserved never to resolve, rather than an invented one. For the same reason the package has
# no Homepage field.
set(CPACK_PACKAGE_CONTACT "Ritmova developers <ritmova@ritmova.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Heart rate variability analysis of R-R interval files")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Ritmova reads 256 heartbeat intervals and shows the time-domain measures, the\n\
power spectrum with its VLF, LF and HF bands, the tachogram and the Poincare\n\
plot, and a four-state Markov analysis. The console tool ritmova-cli runs the\n\
same analysis in batch.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The licence is in /usr/share/doc/ritmova/copyright (GPL-3.0-or-later); control.tar with the
# permissions dpkg itself would give, so that lintian finds nothing to say.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps names the Qt, FFTW, C and C++ libraries the programs link, with their least
# versions; the Qt platform plugins are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

include(CPack)
