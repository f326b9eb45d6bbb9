# What an installation adds for the desktop (the menu entry, its icon in every size a menu or
# tray asks for, the software centre's metainfo, the manual page) and how it is undone:
#
#   cmake --install build --prefix ~/.local      (or sudo cmake --install build for /usr/local)
#   cmake --build build --target uninstall       (sudo as for installing)
#
# Uninstalling removes the files install_manifest.txt lists, then the folders installing
# created, each only once no file is left in it. The user's autostart entry is not installed,
# so it is left to the user.

# The folders that hold what an installation puts in place, relative to the prefix.
function(dewbell_installed_folders variable)
  set(folders ${DEWBELL_INSTALL_BINDIR} ${DEWBELL_INSTALL_DATADIR} ${DEWBELL_INSTALL_DOCDIR}
    ${DEWBELL_INSTALL_DATAROOTDIR}/applications ${DEWBELL_INSTALL_DATAROOTDIR}/metainfo
    ${DEWBELL_INSTALL_MANDIR}/man1)
  file(GLOB icon_folders RELATIVE ${PROJECT_SOURCE_DIR}/resources/icons/hicolor
    ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/*)
  foreach(icon_folder IN LISTS icon_folders)
    list(APPEND folders ${DEWBELL_INSTALL_DATAROOTDIR}/icons/hicolor/${icon_folder}/apps)
  endforeach()
  set(${variable} ${folders} PARENT_SCOPE)
endfunction()

function(dewbell_record_created_folders)
  dewbell_installed_folders(folders)
  install(CODE "
    set(dewbell_folders \"${folders}\")
    set(dewbell_build_dir \"${CMAKE_BINARY_DIR}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/DewbellRecordFolders.cmake\")")
endfunction()

function(dewbell_add_desktop_integration)
  set(resources ${PROJECT_SOURCE_DIR}/resources)
  set(generated ${CMAKE_BINARY_DIR}/desktop-integration)

  # The menu entry starts the installed binary by its full path: ~/.local/bin is on PATH only
  # from the next login on, if at all. The prefix is known only when installing (--prefix).
  install(CODE "
    set(dewbell_binary \"\${CMAKE_INSTALL_PREFIX}/${DEWBELL_INSTALL_BINDIR}/dewbell\")
    set(dewbell_template \"${resources}/app.dewbell.Dewbell.desktop.in\")
    set(dewbell_entry \"${generated}/app.dewbell.Dewbell.desktop\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/DewbellDesktopEntry.cmake\")")
  install(FILES ${generated}/app.dewbell.Dewbell.desktop DESTINATION ${DEWBELL_INSTALL_DATAROOTDIR}/applications)

  install(DIRECTORY ${resources}/icons/hicolor DESTINATION ${DEWBELL_INSTALL_DATAROOTDIR}/icons)

  configure_file(${resources}/app.dewbell.Dewbell.metainfo.xml.in ${generated}/app.dewbell.Dewbell.metainfo.xml
    @ONLY)
  install(FILES ${generated}/app.dewbell.Dewbell.metainfo.xml DESTINATION ${DEWBELL_INSTALL_DATAROOTDIR}/metainfo)

  configure_file(${resources}/doc/dewbell.1.in ${generated}/dewbell.1 @ONLY)
  install(FILES ${generated}/dewbell.1 DESTINATION ${DEWBELL_INSTALL_MANDIR}/man1)

  add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DDEWBELL_MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
      -P ${PROJECT_SOURCE_DIR}/cmake/DewbellUninstall.cmake
    COMMENT "Removing the installed copy of Dewbell"
    VERBATIM)
endfunction()
