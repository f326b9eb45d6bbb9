# The application bundle: info.json plus the Characters, Brand and Sounds folders.
# It is assembled in the build tree at share/dewbell so that a build runs like an installation.

if(DEWBELL_DEVELOPER_ID)
  set(DEWBELL_DISTRIBUTION_ENTRY "\"DWDistribution\": \"developer-id\",\n  ")
else()
  set(DEWBELL_DISTRIBUTION_ENTRY "")
endif()

function(dewbell_add_bundle)
  set(bundle_dir ${CMAKE_BINARY_DIR}/share/dewbell)
  configure_file(${PROJECT_SOURCE_DIR}/resources/info.json.in ${bundle_dir}/info.json @ONLY)

  file(GLOB_RECURSE bundle_files CONFIGURE_DEPENDS
    RELATIVE ${PROJECT_SOURCE_DIR}/resources
    ${PROJECT_SOURCE_DIR}/resources/Characters/*
    ${PROJECT_SOURCE_DIR}/resources/Brand/*
    ${PROJECT_SOURCE_DIR}/resources/Sounds/*)
  set(outputs)
  foreach(file IN LISTS bundle_files)
    add_custom_command(
      OUTPUT ${bundle_dir}/${file}
      COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/${file} ${bundle_dir}/${file}
      DEPENDS ${PROJECT_SOURCE_DIR}/resources/${file}
      VERBATIM)
    list(APPEND outputs ${bundle_dir}/${file})
  endforeach()
  add_custom_target(dewbell_bundle ALL DEPENDS ${outputs})

  install(FILES ${bundle_dir}/info.json DESTINATION ${CMAKE_INSTALL_DATADIR}/dewbell)
  foreach(folder Characters Brand Sounds)
    if(EXISTS ${PROJECT_SOURCE_DIR}/resources/${folder})
      install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/${folder} DESTINATION ${CMAKE_INSTALL_DATADIR}/dewbell)
    endif()
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/app.dewbell.Dewbell.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/Brand/app-icon-v1.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME app.dewbell.Dewbell.png)
endfunction()
