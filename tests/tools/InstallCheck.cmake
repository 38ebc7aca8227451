# cmake -DBUILD_DIR=... -DPREFIX=... -P InstallCheck.cmake
# Installs the build into PREFIX and checks what scene writers get: both tools
# with the settings beside them, and the three man pages where man finds them.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${installed})")
endif()

foreach(page share/man/man6/zirvo.6 share/man/man1/zirvo-render.1 share/man/man1/zirvo-check.1)
  if(NOT EXISTS "${PREFIX}/${page}")
    message(FATAL_ERROR "not installed: ${page}")
  endif()
  file(READ "${PREFIX}/${page}" text)
  if(NOT text MATCHES "^\\.TH ")
    message(FATAL_ERROR "${page} is not a man page")
  endif()
endforeach()

# The installed checker reads the zirvo.ini installed beside it.
file(WRITE "${PREFIX}/scene.zrv" "nv=5\nstop=2\n")
execute_process(COMMAND "${PREFIX}/bin/zirvo-check" "${PREFIX}/scene.zrv"
                RESULT_VARIABLE status OUTPUT_VARIABLE report)
if(NOT status EQUAL 0 OR NOT report MATCHES "settings: ${PREFIX}/bin/zirvo.ini")
  message(FATAL_ERROR "installed zirvo-check (status ${status}):\n${report}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
