# Where an installation puts Dewbell, and the build tree that mirrors it.
#
# A packager may move the binary, the data and the documentation (CMAKE_INSTALL_BINDIR,
# CMAKE_INSTALL_DATADIR, CMAKE_INSTALL_DOCDIR, ...). The binary finds its data and documentation
# by the relative paths between these folders, computed here, so any layout inside the prefix
# works and `cmake --install --prefix` may still move the whole tree.
include(GNUInstallDirs)

# A folder of the installation, relative to the prefix.
function(dewbell_install_folder variable full_path)
  file(RELATIVE_PATH relative ${CMAKE_INSTALL_PREFIX} ${full_path})
  if(relative MATCHES "^\\.\\.(/|$)")
    message(FATAL_ERROR "${full_path} lies outside CMAKE_INSTALL_PREFIX (${CMAKE_INSTALL_PREFIX}): "
      "Dewbell finds its data relative to its binary, so both must lie in the prefix.")
  endif()
  set(${variable} ${relative} PARENT_SCOPE)
endfunction()

# The data lie one level below share/dewbell: installed into ~/.local, share/dewbell is also the
# user's own data folder, whose Characters/ holds the companions the user imported.
set(dewbell_data_below_datadir dewbell/app)
set(dewbell_full_datadir ${CMAKE_INSTALL_FULL_DATADIR}/${dewbell_data_below_datadir})
dewbell_install_folder(DEWBELL_INSTALL_BINDIR ${CMAKE_INSTALL_FULL_BINDIR})
dewbell_install_folder(DEWBELL_INSTALL_DATADIR ${dewbell_full_datadir})
dewbell_install_folder(DEWBELL_INSTALL_DOCDIR ${CMAKE_INSTALL_FULL_DOCDIR})
dewbell_install_folder(DEWBELL_INSTALL_DATAROOTDIR ${CMAKE_INSTALL_FULL_DATAROOTDIR})
dewbell_install_folder(DEWBELL_INSTALL_MANDIR ${CMAKE_INSTALL_FULL_MANDIR})

# What the binary adds to its own folder to reach its data, and the data folder to reach the
# documentation ("../share/dewbell/app" and "../../doc/dewbell" by default).
file(RELATIVE_PATH DEWBELL_DATA_FROM_BINARY ${CMAKE_INSTALL_FULL_BINDIR} ${dewbell_full_datadir})
file(RELATIVE_PATH DEWBELL_DOC_FROM_DATA ${dewbell_full_datadir} ${CMAKE_INSTALL_FULL_DOCDIR})

# Release archives are the installed tree of the default layout (bin/ and share/), whatever
# layout this build has: where the updater finds the data and the documentation in one.
set(DEWBELL_RELEASE_DATADIR share/${dewbell_data_below_datadir})
set(DEWBELL_RELEASE_DOCDIR share/doc/${PROJECT_NAME})

# The build tree runs like an installation: the binary, the data and the documentation lie
# where the installation puts them, below the build folder instead of the prefix.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${DEWBELL_INSTALL_BINDIR})
set(DEWBELL_BUILD_DATADIR ${CMAKE_BINARY_DIR}/${DEWBELL_INSTALL_DATADIR})
set(DEWBELL_BUILD_DOCDIR ${CMAKE_BINARY_DIR}/${DEWBELL_INSTALL_DOCDIR})
