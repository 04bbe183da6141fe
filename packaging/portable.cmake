# The game installs as a portable folder: the program (its records file is
# kept beside it, so the folder must be the player's own), the icon, the
# licence and a menu entry written for wherever the folder stands.
# add-to-menu writes the entry as pyatnashki.desktop, the id the window gives.
if(NOT PYATNASHKI_MENU_ID STREQUAL "pyatnashki")
  message(FATAL_ERROR "The portable folder's add-to-menu writes pyatnashki.desktop: PYATNASHKI_MENU_ID must be pyatnashki")
endif()
set(icon ${CMAKE_CURRENT_BINARY_DIR}/pyatnashki.png)
pyatnashki_icon(${icon} 256)

install(TARGETS pyatnashki RUNTIME DESTINATION . COMPONENT game)
install(FILES ${icon} ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT game)
install(PROGRAMS add-to-menu DESTINATION . COMPONENT game)
# The entry names absolute paths, so it is written for the final folder; an
# archive leaves it out and the player writes it with add-to-menu after unpacking.
install(CODE [[
  execute_process(COMMAND sh "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/add-to-menu" --entry-only "${CMAKE_INSTALL_PREFIX}"
                  COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/pyatnashki.desktop")
]] COMPONENT entry)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME pyatnashki)
set(CPACK_PACKAGE_FILE_NAME pyatnashki-${PROJECT_VERSION})
set(CPACK_COMPONENTS_ALL game)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
