# The application shell. The view fixtures of the window tests are shared.
set(dewbell_view_testing ${PROJECT_SOURCE_DIR}/tests/window)

dewbell_add_test(test_entry_point SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_entry_point.cpp
  LIBRARIES dewbell_assetcheck)
add_dependencies(test_entry_point dewbell)

dewbell_add_test(test_menu_bar_view SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_menu_bar_view.cpp
  LIBRARIES dewbell_shell)
target_include_directories(test_menu_bar_view PRIVATE ${dewbell_view_testing})

dewbell_add_test(test_app_delegate SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_app_delegate.cpp
  LIBRARIES dewbell_shell)

dewbell_add_test(test_shell_parts SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_shell_parts.cpp
  LIBRARIES dewbell_shell)

dewbell_add_test(test_buddy_panel SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_buddy_panel.cpp
  LIBRARIES dewbell_shell)
target_include_directories(test_buddy_panel PRIVATE ${dewbell_view_testing})
