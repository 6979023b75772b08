# `cpack -G DEB` in the build directory makes one Debian package of the three programs.
# Its dependencies are those of the binaries as dpkg-shlibdeps finds them (the Qt 6
# runtime, the C and C++ libraries); the icon cache and the menus are refreshed by
# Debian's own triggers, so the package needs no scripts of its own.
set(CPACK_PACKAGE_NAME "zm40-tools")
set(CPACK_PACKAGE_VENDOR "ZM40 desk tools")
set(CPACK_PACKAGE_CONTACT "ZM40 desk tools <zm40-tools@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control, test and e-mail settings programs for the ZM40/ZM42 alarm dialer")
set(CPACK_PACKAGE_DESCRIPTION
    "Corvane controls and tests a ZM40/ZM42 alarm dialer module on a serial port: telephone
number, alarm messages, reporting format and options, single alarms and runs, terminal
mode. Halvard edits the settings of the module's e-mail forwarding. zmsim simulates the
module on a pseudo-terminal for a bench without one.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")

set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "comm")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")

include(CPack)
