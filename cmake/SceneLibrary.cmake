# The scene library: every scenes/*.zrv, with the name and the sentence its
# header gives. A scene opens with its header, comment lines up to the first
# empty line, the first of them "Name: what it shows." (the sentence may run on
# over the next lines):
#
#   Orrery: planets of every size circle a golden sun, each on its own ring and
#   at its own pace.
#
# Everything that offers the scenes to choose from is made from this list when
# the build is configured: the screensaver host's options (sdl-saver), the
# playground's samples and gallery (web/, through scene-library.json), the
# gallery page (scripts/gallery). A new file in scenes/ is all it takes.
#
# After include(): ZIRVO_SCENE_FILES, the scene files' full paths in name
# order; for each file's stem S, ZIRVO_SCENE_NAME_<S> and ZIRVO_SCENE_SENTENCE_<S>
# (the stem itself and "" when the header is not in that form); and
# ${PROJECT_BINARY_DIR}/scene-library.json:
#   {"scenes": [{"file": "orrery.zrv", "stem": "orrery", "name": "Orrery",
#                "sentence": "planets of every size ..."}, ...]}

file(GLOB ZIRVO_SCENE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scenes/*.zrv)
list(SORT ZIRVO_SCENE_FILES)

# A JSON string's contents for `text` (ASCII; a scene header has no control
# characters once its line ends are joined).
function(zirvo_json_text text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\t" " " text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(zirvo_scene_entries "")
foreach(scene ${ZIRVO_SCENE_FILES})
  get_filename_component(file ${scene} NAME)
  get_filename_component(stem ${scene} NAME_WE)
  # A changed header is seen at the next build.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${scene})
  file(READ ${scene} text LIMIT 2048)
  string(REPLACE "\r" "" text "${text}")
  # The header: the lines up to the first empty one.
  string(FIND "${text}" "\n\n" end)
  if(end GREATER -1)
    string(SUBSTRING "${text}" 0 ${end} header)
  else()
    set(header "${text}")
  endif()
  string(REPLACE "\n" " " header "${header}")
  set(ZIRVO_SCENE_NAME_${stem} "${stem}")
  set(ZIRVO_SCENE_SENTENCE_${stem} "")
  if(header MATCHES "^([A-Za-z][^:=]*): ([^=]+)$")
    set(ZIRVO_SCENE_NAME_${stem} "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" ZIRVO_SCENE_SENTENCE_${stem})
  else()
    message(WARNING "${scene}: the scene does not open with \"Name: what it shows.\" and an empty line")
  endif()
  zirvo_json_text("${file}" j_file)
  zirvo_json_text("${stem}" j_stem)
  zirvo_json_text("${ZIRVO_SCENE_NAME_${stem}}" j_name)
  zirvo_json_text("${ZIRVO_SCENE_SENTENCE_${stem}}" j_sentence)
  if(NOT zirvo_scene_entries STREQUAL "")
    string(APPEND zirvo_scene_entries ",\n")
  endif()
  string(APPEND zirvo_scene_entries
         "    {\"file\": \"${j_file}\", \"stem\": \"${j_stem}\", \"name\": \"${j_name}\", \"sentence\": \"${j_sentence}\"}")
endforeach()
# Written at every configuration, so that it is never older than a scene read.
file(WRITE ${PROJECT_BINARY_DIR}/scene-library.json "{\"scenes\": [\n${zirvo_scene_entries}\n]}\n")
unset(zirvo_scene_entries)

# zirvo_place_scenes(TARGET DIR): copies the scenes into DIR before TARGET is
# built, at every build, so that DIR holds every scene of scenes/ as it is now
# (a step after TARGET's link ran only when TARGET itself was built again).
function(zirvo_place_scenes target dir)
  if(NOT ZIRVO_SCENE_FILES)
    return()
  endif()
  add_custom_target(${target}-scenes
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZIRVO_SCENE_FILES} ${dir}/
    VERBATIM)
  add_dependencies(${target} ${target}-scenes)
endfunction()
