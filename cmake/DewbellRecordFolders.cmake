# Runs at the start of `cmake --install`: writes down which folders of the installation, and
# which of the folders above them, do not exist yet, beside the manifest, so that uninstalling
# removes the folders installing created and no other. Folders written down by an earlier
# installation stay on the list: installing again over it creates nothing.
#
# dewbell_folders: the installation's folders relative to the prefix; dewbell_build_dir: where
# cmake --install writes its manifest.
if(CMAKE_INSTALL_COMPONENT)
  set(record "${dewbell_build_dir}/install_folders_${CMAKE_INSTALL_COMPONENT}.txt")
else()
  set(record "${dewbell_build_dir}/install_folders.txt")
endif()
set(created)
if(EXISTS "${record}")
  file(STRINGS "${record}" created)
endif()
foreach(relative IN LISTS dewbell_folders)
  set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${relative}")
  cmake_path(NORMAL_PATH folder)
  string(REGEX REPLACE "(.)/$" "\\1" folder "${folder}")
  while(NOT EXISTS "${folder}")
    list(APPEND created "${folder}")
    cmake_path(GET folder PARENT_PATH folder)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES created)
list(JOIN created "\n" lines)
file(WRITE "${record}" "${lines}\n")
