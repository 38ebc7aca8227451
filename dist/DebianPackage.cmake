# The Debian package: section x11, dependencies from dpkg-shlibdeps, the files
# under /etc as conffiles, manual pages and changelog compressed (DebianTree.cmake
# does both once everything is installed, so it covers every component).
set(ZIRVO_DEB_RELEASE 1)
set(ZIRVO_DEB_VERSION ${PROJECT_VERSION}-${ZIRVO_DEB_RELEASE})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in
               ${CMAKE_CURRENT_BINARY_DIR}/dist/changelog.Debian @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/dist/changelog.Debian DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
# The settings go to the absolute /etc: install into a staging DESTDIR.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZIRVO_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZIRVO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zirvo covers the screen with the show a scene file describes: up to 500
swirls, each a point running around a turning ellipse that contracts onto its
start, leaving a trail that is erased behind it pixel by pixel.
.
The package also holds zirvo-render, which renders a scene headless and
reproducibly to PNG, GIF or a pixel trace, zirvo-check, which says what every
line of a scene did, and sample scenes. The settings are /etc/zirvo/zirvo.ini.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_ZIRVO_CONFFILES ${CMAKE_CURRENT_BINARY_DIR}/dist/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CPACK_ZIRVO_CONFFILES})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianTree.cmake)
