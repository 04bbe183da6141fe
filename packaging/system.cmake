# The game installs into the system's folders, as a Debian game does: the
# program in games/, and under share/ its menu entry, icons in the hicolor
# theme, software-centre metadata and manual page. The records live in each
# player's own data folder, so nothing here needs to be writable.
include(GNUInstallDirs)

set(id ${PYATNASHKI_MENU_ID})
foreach(size 16 22 24 32 48 64 128 256)
  set(icon ${CMAKE_CURRENT_BINARY_DIR}/icon-${size}.png)
  pyatnashki_icon(${icon} ${size})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${id}.png)
endforeach()

configure_file(app.desktop.in ${id}.desktop @ONLY)
configure_file(app.metainfo.xml.in ${id}.metainfo.xml @ONLY)

install(TARGETS pyatnashki RUNTIME DESTINATION games)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES pyatnashki.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
