# cmake -DBUILD_DIR=... -DPREFIX=... -DSCENES=... -P SaverInstallCheck.cmake
# Installs the build into PREFIX and checks what screensaver hosts find there:
# the program where they look for it, its settings for the xscreensaver host,
# the desktop entry, the man page, and that the installed program finds the
# sample scenes and zirvo's settings from where it lies. Every scene of SCENES
# is installed and offered by name in the xscreensaver settings.
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

file(GLOB scenes "${SCENES}/*.zrv")
foreach(scene ${scenes})
  get_filename_component(name "${scene}" NAME)
  get_filename_component(stem "${scene}" NAME_WE)
  set(installed "${PREFIX}/${CMAKE_INSTALL_DATADIR}/zirvo/scenes/${name}")
  file(SHA256 "${scene}" shipped)
  set(copy "")
  if(EXISTS "${installed}")
    file(SHA256 "${installed}" copy)
  endif()
  if(NOT shipped STREQUAL copy)
    message(FATAL_ERROR "${name} is not installed as ${installed}")
  endif()
  # Labelled with the name of the scene's header, not its file name.
  if(NOT xml MATCHES "<option id=\"${stem}\" _label=\"[A-Z][^\"]*\" arg-set=\"--scene [^\"]*/zirvo/scenes/${name}\"/>")
    message(FATAL_ERROR "zirvo-saver.xml does not offer ${name}:\n${xml}")
  endif()
endforeach()

execute_process(COMMAND "${saver}" --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0 OR
   NOT help MATCHES "Sample scenes: ${PREFIX}/${CMAKE_INSTALL_DATADIR}/zirvo/scenes\n" OR
   NOT help MATCHES "Settings: ${PREFIX}/${CMAKE_INSTALL_BINDIR}/zirvo.ini\n")
  message(FATAL_ERROR "the installed zirvo-saver does not find its files (${status}):\n${help}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
