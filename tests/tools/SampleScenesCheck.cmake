# cmake -DCHECK=... -DRENDER=... -DSCENES=... -DWORK=... -P SampleScenesCheck.cmake
# Every sample scene loads without a warning with the shipped settings, and
# renders.
file(GLOB scenes "${SCENES}/*.zrv")
if(NOT scenes)
  message(STATUS "no sample scenes in ${SCENES}")
  return()
endif()
file(MAKE_DIRECTORY "${WORK}")
foreach(scene ${scenes})
  execute_process(COMMAND "${CHECK}" --settings "${SCENES}/zirvo.ini" "${scene}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE report)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "zirvo-check ${scene}: status ${status}\n${report}")
  endif()
  execute_process(COMMAND "${RENDER}" --settings "${SCENES}/zirvo.ini" --seconds 5
                          --png "${WORK}/last.png" "${scene}"
                  RESULT_VARIABLE status ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "zirvo-render ${scene}: status ${status}\n${said}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
