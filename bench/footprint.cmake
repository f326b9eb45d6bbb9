# What Dewbell costs the desktop at login against a bare Qt tray app: tray_footprint (a script
# beside this file) starts both in turn under Xvfb with a window manager and a tray host.
# tray_launch times a program's start until its tray icon shows.
find_package(X11 REQUIRED)
add_executable(bare_tray_app ${CMAKE_CURRENT_LIST_DIR}/bare_tray_app.cpp)
target_link_libraries(bare_tray_app PRIVATE Qt6::Widgets)
add_executable(tray_launch ${CMAKE_CURRENT_LIST_DIR}/tray_launch.cpp)
target_link_libraries(tray_launch PRIVATE X11::X11)
set_target_properties(bare_tray_app tray_launch PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
