# The Windows zip, zirvo-VERSION-win32.zip: one folder with zirvo.exe, its
# zirvo.ini, README.TXT with CR LF line ends and the sample scenes side by side,
# plus the screen saver (zirvo.scr) and the checker (zirvo-check.exe) when the
# build makes them. Only the windows-zip component goes in.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME zirvo-${PROJECT_VERSION}-win32)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};windows-zip;/")

# The programs by the name of the file they build.
set(zirvo_zip_programs zirvo.exe zirvo.scr zirvo-check.exe)
function(zirvo_zip_programs_in directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
      continue()
    endif()
    get_target_property(name ${target} OUTPUT_NAME)
    get_target_property(suffix ${target} SUFFIX)
    if(NOT name)
      set(name ${target})
    endif()
    if(NOT suffix)
      set(suffix ${CMAKE_EXECUTABLE_SUFFIX})
    endif()
    if("${name}${suffix}" IN_LIST zirvo_zip_programs)
      install(TARGETS ${target} RUNTIME DESTINATION . COMPONENT windows-zip)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    zirvo_zip_programs_in(${subdirectory})
  endforeach()
endfunction()
zirvo_zip_programs_in(${PROJECT_SOURCE_DIR})

# The settings the build puts beside zirvo.exe.
install(FILES ${CMAKE_BINARY_DIR}/zirvo.ini DESTINATION . COMPONENT windows-zip)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/scenes/ DESTINATION . COMPONENT windows-zip
        FILES_MATCHING PATTERN "*.zrv")
install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\"
                -DSOURCE=${PROJECT_SOURCE_DIR}/README.TXT
                -DDEST=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/README.TXT
                -P ${CMAKE_CURRENT_LIST_DIR}/CrlfCopy.cmake
                COMMAND_ERROR_IS_FATAL ANY)"
        COMPONENT windows-zip)
