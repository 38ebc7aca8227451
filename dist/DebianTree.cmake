# Run by CPack on the installed tree just before the Debian package is made:
# programs stripped of the notes a package does not need, manual pages and the
# changelog compressed as Debian wants them (gzip -9n), and every file under
# etc/ listed as a conffile.
set(tree ${CPACK_TEMPORARY_INSTALL_DIRECTORY})

file(GLOB_RECURSE files LIST_DIRECTORIES false ${tree}/usr/*)
foreach(file IN LISTS files)
  if(IS_SYMLINK ${file})
    continue()
  endif()
  file(READ ${file} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${file}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

file(GLOB_RECURSE pages LIST_DIRECTORIES false ${tree}/usr/share/man/*)
file(GLOB_RECURSE changelogs LIST_DIRECTORIES false ${tree}/usr/share/doc/*/changelog*)
foreach(file IN LISTS pages changelogs)
  if(NOT file MATCHES "\\.gz$" AND NOT IS_SYMLINK ${file})
    execute_process(COMMAND gzip -9n ${file} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "gzip ${file} failed")
    endif()
  endif()
endforeach()

file(GLOB_RECURSE configuration LIST_DIRECTORIES false RELATIVE ${tree} ${tree}/etc/*)
list(SORT configuration)
list(TRANSFORM configuration PREPEND /)
list(JOIN configuration "\n" conffiles)
file(WRITE ${CPACK_ZIRVO_CONFFILES} "${conffiles}\n")
