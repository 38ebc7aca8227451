# cmake -DSCRIPT=scripts/render-demo -DBUILD_DIR=... -DWORK=... -P RenderDemoCheck.cmake
# The no-display fallback renders a scene to a GIF and says where it went.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/tiny.zrv" "nv=200\nbs=50\ndt=0\nstop=1\n")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "ZIRVO_BUILD_DIR=${BUILD_DIR}"
          "${SCRIPT}" "${WORK}/tiny.zrv" "${WORK}/out/tiny.gif" -- --seconds 2 --fps 5
  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "render-demo failed (${status}):\n${said}${errors}")
endif()
if(NOT said STREQUAL "render-demo: wrote ${WORK}/out/tiny.gif\n")
  message(FATAL_ERROR "render-demo said:\n${said}")
endif()
file(READ "${WORK}/out/tiny.gif" header LIMIT 6 HEX)
if(NOT header STREQUAL "474946383961")  # "GIF89a"
  message(FATAL_ERROR "not a GIF: ${WORK}/out/tiny.gif")
endif()

# The extension picks the output: a WebM video, an animated WebP.
foreach(kind webm webp)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env "ZIRVO_BUILD_DIR=${BUILD_DIR}"
            "${SCRIPT}" "${WORK}/tiny.zrv" "${WORK}/out/tiny.${kind}" -- --seconds 1 --fps 5
    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT said STREQUAL "render-demo: wrote ${WORK}/out/tiny.${kind}\n")
    message(FATAL_ERROR "render-demo ${kind} failed (${status}):\n${said}${errors}")
  endif()
endforeach()
file(READ "${WORK}/out/tiny.webm" header LIMIT 4 HEX)
if(NOT header STREQUAL "1a45dfa3")  # EBML
  message(FATAL_ERROR "not a WebM: ${WORK}/out/tiny.webm")
endif()
file(READ "${WORK}/out/tiny.webp" header LIMIT 16 HEX)
if(NOT header MATCHES "^52494646........5745425056503858")  # "RIFF" .... "WEBPVP8X"
  message(FATAL_ERROR "not an animated WebP: ${WORK}/out/tiny.webp (${header})")
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "ZIRVO_BUILD_DIR=${BUILD_DIR}"
          "${SCRIPT}" "${WORK}/tiny.zrv" "${WORK}/out/tiny.avi"
  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE errors)
if(NOT status EQUAL 2 OR EXISTS "${WORK}/out/tiny.avi")
  message(FATAL_ERROR "render-demo took an .avi (${status}):\n${said}${errors}")
endif()
file(REMOVE_RECURSE "${WORK}")
