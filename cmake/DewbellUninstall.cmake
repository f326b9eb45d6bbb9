# Removes what `cmake --install` put in place (the "uninstall" target runs it): the files the
# manifest lists, then the folders installing created (DewbellRecordFolders.cmake), each only
# once no file is left in it, so nothing of the user's or of another program goes with them.
#
# DEWBELL_MANIFEST: the manifest cmake --install wrote (install_manifest.txt in the build folder).
if(NOT EXISTS "${DEWBELL_MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${DEWBELL_MANIFEST} does not exist, so nothing was "
    "installed from this build folder.")
endif()
file(STRINGS "${DEWBELL_MANIFEST}" files)
foreach(file IN LISTS files)
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
endforeach()

cmake_path(GET DEWBELL_MANIFEST PARENT_PATH build_dir)
cmake_path(GET DEWBELL_MANIFEST FILENAME manifest_name)
string(REPLACE "install_manifest" "install_folders" record_name "${manifest_name}")
set(record "${build_dir}/${record_name}")
set(kept)
if(EXISTS "${record}")
  file(STRINGS "${record}" folders)
  # The innermost first, so that a folder inside another one is gone before the outer is looked at.
  list(SORT folders)
  list(REVERSE folders)
  foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY "${folder}")
      continue()
    endif()
    file(GLOB_RECURSE left LIST_DIRECTORIES false "${folder}/*")
    if(left)
      list(APPEND kept "${folder}")
    else()
      message(STATUS "Removing ${folder}/")
      file(REMOVE_RECURSE "${folder}")
    endif()
  endforeach()
  list(JOIN kept "\n" lines)
  file(WRITE "${record}" "${lines}\n")
endif()
message(STATUS "Dewbell is uninstalled. If you turned on \"Launch at login\", your login item "
  "~/.config/autostart/app.dewbell.Dewbell.desktop stays: remove it yourself.")
