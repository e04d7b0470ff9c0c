# The AppDir beside the program: the language packs and the channel tree, which the catalog tool
# writes from the same built-in lists the program dispatches on, so the two can never disagree.
file(GLOB ZELMO_LANG_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/Language/*.lng)
set(ZELMO_LANG_STAMP ${CMAKE_BINARY_DIR}/language.stamp)
add_custom_command(OUTPUT ${ZELMO_LANG_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELMO_APPDIR}/Language
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/Language ${ZELMO_APPDIR}/Language
  COMMAND ${CMAKE_COMMAND} -E touch ${ZELMO_LANG_STAMP}
  DEPENDS ${ZELMO_LANG_FILES}
  COMMENT "Copying language packs into AppDir")

set(ZELMO_TREE_STAMP ${CMAKE_BINARY_DIR}/channel-tree.stamp)
add_custom_command(OUTPUT ${ZELMO_TREE_STAMP}
  COMMAND $<TARGET_FILE:channel-catalog> tree ${ZELMO_APPDIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ZELMO_TREE_STAMP}
  DEPENDS channel-catalog
  COMMENT "Writing the channel tree into AppDir")

add_custom_target(zelmo_appdir ALL DEPENDS ${ZELMO_LANG_STAMP} ${ZELMO_TREE_STAMP})
add_dependencies(zelmo-player zelmo_appdir)
