# The diagnostic reports need Qt Core only: the entry point prints them before any
# application object (or display) exists.
add_library(dewbell_diagnostics STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/UpdateDiagnostics.cpp
)
target_include_directories(dewbell_diagnostics PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_link_libraries(dewbell_diagnostics PUBLIC dewbell_store Qt6::Core)

# The running application: delegate, tray icon, popover, main window frame, reminder panel
# and the desktop's dialogs and sounds.
add_library(dewbell_shell STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/AppDelegate.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ApplicationCatalog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ApplicationPicker.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/BuddyPanel.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/FileDialogs.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MainMenu.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MainWindow.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MenuBarView.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Popover.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SoundPlayer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/TerminationSignals.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/TrayIcon.cpp
)
target_include_directories(dewbell_shell PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_link_libraries(dewbell_shell
  PUBLIC dewbell_platform dewbell_window dewbell_reminders dewbell_characters dewbell_store
         Qt6::Widgets Qt6::Multimedia)

add_executable(dewbell ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(dewbell PRIVATE dewbell_shell dewbell_diagnostics dewbell_assetcheck)
add_dependencies(dewbell dewbell_bundle)
install(TARGETS dewbell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
