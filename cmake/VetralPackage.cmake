# The Debian package, built by CPack's DEB generator from the install rules
# (scripts/package). Name, version and architecture make vetral_<version>_<arch>.deb.
set(VETRAL_PACKAGE_MAINTAINER "vetral developers <vetral@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vetral)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for Vetral FM radio stations")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "A service technician prepares the channel table and the general\n"
       "settings of one Vetral land-mobile FM radio station, checks them,\n"
       "writes them into the station over a 1200-baud serial line and reads\n"
       "them back, keeps them as channel files and writes a test report.\n"
       "The interface is Russian.\n"
       ".\n"
       "The package holds the desktop program vetral, the command-line tool\n"
       "vetral-cli, which does the same from a script, and vetral-station-sim,\n"
       "a simulated station on a pseudo-terminal for trying both without one.\n"
       ".\n"
       "The technician needs access to the serial port: on Debian, membership\n"
       "of the group dialout.")

# The Debian revision of this packaging of the upstream version: raised when
# only the packaging changes, back to 1 with a new project(VERSION).
set(VETRAL_DEBIAN_REVISION 1)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VETRAL_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VETRAL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from the scan of the executables; what they load at run time
# is named here: the window's platform plugin, Qt's own Russian texts and the
# opener of the test report.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer")

include(CPack)
