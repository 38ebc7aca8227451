# The packages, made by CPack from what `cmake --install` puts in place
# (`cmake --build BUILD --target package`; scripts/package makes both):
# - from a Linux build configured with -DZIRVO_SYSTEM_LAYOUT=ON and
#   -DCMAKE_INSTALL_PREFIX=/usr, a Debian package of the whole install tree
#   (DebianPackage.cmake), so whatever gains install() rules lands in it;
# - from the MinGW build, a zip of the Windows program and its files
#   (WindowsZip.cmake).
# Other Linux builds get a plain tarball of their install tree.
set(ZIRVO_MAINTAINER "Zirvo Developers <developers@zirvo.example>" CACHE STRING
    "Maintainer named in the packages")

set(CPACK_PACKAGE_NAME zirvo)
set(CPACK_PACKAGE_VENDOR "The Zirvo developers")
set(CPACK_PACKAGE_CONTACT ${ZIRVO_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "full-screen display of swirling, fading point trails")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)

# Files of the show for desktops, whatever the layout.
if(NOT WIN32)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/zirvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/zirvo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsZip.cmake)
elseif(ZIRVO_SYSTEM_LAYOUT)
  include(${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
