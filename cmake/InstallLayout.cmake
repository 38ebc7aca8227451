# Where `cmake --install` puts the programs and their settings. Every program
# reads the zirvo.ini in the directory of its real path.
#
# By default the programs go to bin/ with zirvo.ini beside them. With
# ZIRVO_SYSTEM_LAYOUT (the Debian package) they go to lib/zirvo/, each with a
# link where people and other programs look for it (games/zirvo, bin/zirvo-check),
# and zirvo.ini there is a link to the file the administrator edits,
# <sysconfdir>/zirvo/zirvo.ini (/etc/zirvo/zirvo.ini for the prefix /usr).
include(GNUInstallDirs)
option(ZIRVO_SYSTEM_LAYOUT "Install programs into lib/zirvo, linked from bin/ and games/, settings in sysconfdir" OFF)

if(ZIRVO_SYSTEM_LAYOUT)
  set(ZIRVO_INSTALL_PROGRAMDIR lib/zirvo)
else()
  set(ZIRVO_INSTALL_PROGRAMDIR ${CMAKE_INSTALL_BINDIR})
endif()

# zirvo_install_link(LINK TARGET): a symbolic link LINK (relative to the prefix)
# pointing to TARGET, created at install time under DESTDIR.
function(zirvo_install_link link target)
  install(CODE "
    set(zirvo_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(zirvo_link_dir \"\${zirvo_link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${zirvo_link_dir}\")
    message(STATUS \"Installing: \${zirvo_link} -> ${target}\")
    file(CREATE_LINK \"${target}\" \"\${zirvo_link}\" SYMBOLIC)")
endfunction()

# zirvo_install_program(TARGET [SYSTEM_DIR]): installs the program TARGET beside
# its settings; in the system layout also links SYSTEM_DIR/<name> (default bin/)
# to it.
function(zirvo_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${ZIRVO_INSTALL_PROGRAMDIR})
  if(ZIRVO_SYSTEM_LAYOUT)
    set(dir ${CMAKE_INSTALL_BINDIR})
    if(ARGC GREATER 1)
      set(dir ${ARGV1})
    endif()
    set(name $<TARGET_FILE_NAME:${target}>)
    file(RELATIVE_PATH to_programs /prefix/${dir} /prefix/${ZIRVO_INSTALL_PROGRAMDIR})
    zirvo_install_link(${dir}/${name} ${to_programs}/${name})
  endif()
endfunction()

# zirvo_install_settings(FILE): the shipped zirvo.ini, where the programs read it.
function(zirvo_install_settings file)
  if(ZIRVO_SYSTEM_LAYOUT)
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/zirvo RENAME zirvo.ini)
    zirvo_install_link(${ZIRVO_INSTALL_PROGRAMDIR}/zirvo.ini ${CMAKE_INSTALL_FULL_SYSCONFDIR}/zirvo/zirvo.ini)
  else()
    install(FILES ${file} DESTINATION ${ZIRVO_INSTALL_PROGRAMDIR} RENAME zirvo.ini)
  endif()
endfunction()
