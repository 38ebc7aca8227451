# cmake -DBUILD_DIR=... -DPREFIX=... -P SaverInstallCheck.cmake
# Installs the build into PREFIX and checks what screensaver hosts find there:
# the program where they look for it, its settings for the xscreensaver host,
# the desktop entry, the man page, and that the installed program finds the
# sample scenes and zirvo's settings from where it lies.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${installed})")
endif()

include(GNUInstallDirs)
set(saver "${PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver/zirvo-saver")
foreach(path ${saver}
             "${PREFIX}/${CMAKE_INSTALL_DATADIR}/xscreensaver/config/zirvo-saver.xml"
             "${PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/screensavers/zirvo-saver.desktop"
             "${PREFIX}/${CMAKE_INSTALL_MANDIR}/man6/zirvo-saver.6")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(READ "${PREFIX}/${CMAKE_INSTALL_DATADIR}/xscreensaver/config/zirvo-saver.xml" xml)
if(NOT xml MATCHES "<screensaver name=\"zirvo-saver\" _label=\"Zirvo\">" OR
   NOT xml MATCHES "arg-set=\"--scene [^\"]*/zirvo/scenes/demo.zrv\"" OR
   NOT xml MATCHES "arg=\"--speed %\"" OR NOT xml MATCHES "arg-set=\"--fps\"")
  message(FATAL_ERROR "zirvo-saver.xml lacks the scene choice, speed or frame rate:\n${xml}")
endif()

execute_process(COMMAND "${saver}" --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0 OR
   NOT help MATCHES "Sample scenes: ${PREFIX}/${CMAKE_INSTALL_DATADIR}/zirvo/scenes\n" OR
   NOT help MATCHES "Settings: ${PREFIX}/${CMAKE_INSTALL_BINDIR}/zirvo.ini\n")
  message(FATAL_ERROR "the installed zirvo-saver does not find its files (${status}):\n${help}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
