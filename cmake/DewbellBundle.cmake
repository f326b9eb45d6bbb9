# The application bundle: info.json plus the Characters, Brand and Sounds folders, and the
# documentation beside it. Both are assembled in the build tree where an installation puts them
# (DewbellLayout.cmake), so that a build runs like an installation.
#
# A signed release carries its update feed and the public key its archives are signed with:
#   -DDEWBELL_DEVELOPER_ID=ON -DDEWBELL_UPDATE_FEED_URL=https://… -DDEWBELL_UPDATE_PUBLIC_KEY=<Base64>
# (the key comes from "dewbell-release keygen"; see README.md).

set(DEWBELL_UPDATE_FEED_URL "https://updates.dewbell.app/linux/appcast.xml" CACHE STRING
  "The https address of the update feed (SUFeedURL)")
set(DEWBELL_UPDATE_PUBLIC_KEY "" CACHE STRING
  "The Base64 Ed25519 public key that signs release archives (SUPublicEDKey)")

if(NOT DEWBELL_UPDATE_FEED_URL MATCHES "^https://[^\"\\ ]+$")
  message(FATAL_ERROR "DEWBELL_UPDATE_FEED_URL must be an https address without quotes, backslashes or spaces.")
endif()
if(NOT DEWBELL_UPDATE_PUBLIC_KEY MATCHES "^[A-Za-z0-9+/]*=*$")
  message(FATAL_ERROR "DEWBELL_UPDATE_PUBLIC_KEY must be the Base64 key printed by dewbell-release keygen.")
endif()
if(DEWBELL_DEVELOPER_ID)
  if(DEWBELL_UPDATE_PUBLIC_KEY STREQUAL "")
    message(FATAL_ERROR "A signed release (DEWBELL_DEVELOPER_ID) needs DEWBELL_UPDATE_PUBLIC_KEY.")
  endif()
  set(DEWBELL_DISTRIBUTION_ENTRY "\"DWDistribution\": \"developer-id\",\n  ")
else()
  set(DEWBELL_DISTRIBUTION_ENTRY "")
endif()

function(dewbell_add_bundle)
  set(bundle_dir ${DEWBELL_BUILD_DATADIR})
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
  # The page on daily use that the tour links to: Dewbell has no website.
  set(doc_page ${DEWBELL_BUILD_DOCDIR}/daily-use.html)
  add_custom_command(
    OUTPUT ${doc_page}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/doc/daily-use.html ${doc_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/doc/daily-use.html
    VERBATIM)
  list(APPEND outputs ${doc_page})
  add_custom_target(dewbell_bundle ALL DEPENDS ${outputs})

  install(FILES ${bundle_dir}/info.json DESTINATION ${DEWBELL_INSTALL_DATADIR})
  foreach(folder Characters Brand Sounds)
    if(EXISTS ${PROJECT_SOURCE_DIR}/resources/${folder})
      install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/${folder} DESTINATION ${DEWBELL_INSTALL_DATADIR})
    endif()
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/doc/daily-use.html ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION ${DEWBELL_INSTALL_DOCDIR})
endfunction()
