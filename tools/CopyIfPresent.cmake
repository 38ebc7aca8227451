# cmake -DSOURCE=... -DDEST=... -P CopyIfPresent.cmake: copies SOURCE to DEST
# when SOURCE exists (the shipped settings may not be there yet).
if(EXISTS "${SOURCE}")
  configure_file("${SOURCE}" "${DEST}" COPYONLY)
endif()
