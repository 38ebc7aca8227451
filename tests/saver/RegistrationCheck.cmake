# cmake -DTOOL=... -DFILE=... -P RegistrationCheck.cmake
# Runs a validator (xmllint --noout, desktop-file-validate) on a registration
# file; says SKIPPED when the validator is not installed.
find_program(validator ${TOOL})
if(NOT validator)
  message("SKIPPED: ${TOOL} is not installed (Debian: libxml2-utils, desktop-file-utils)")
  return()
endif()
set(arguments)
if(TOOL STREQUAL "xmllint")
  set(arguments --noout)
endif()
execute_process(COMMAND "${validator}" ${arguments} "${FILE}" RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} ${FILE} failed (${status}):\n${out}")
endif()
message("${TOOL}: ${FILE} passes\n${out}")
