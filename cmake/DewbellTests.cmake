# One QtTest executable per test file, registered with ctest.
# Every test sees the build tree's bundle and a display-free Qt.
#
# XSERVER marks a test that reads a real X server: scripts/test runs those under an Xvfb of
# its own (label "xserver", one at a time since they share the pointer). A skip counts as a
# failure everywhere, because a skipped test checks nothing: scripts/setup installs what
# every test needs. Each test has a cache folder of its own: tests run side by side, and one
# test's record of checked pictures must not overwrite another's (scripts/test empties them).
function(dewbell_add_test name)
  cmake_parse_arguments(arg "XSERVER" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${arg_LIBRARIES})
  # Fixtures and fakes are included as "support/…".
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} dewbell_bundle)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 120
    FAIL_REGULAR_EXPRESSION "(^|\n)SKIP "
    ENVIRONMENT "XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-caches/${name};QT_QPA_PLATFORM=offscreen;DEWBELL_BUNDLE_DIR=${DEWBELL_BUILD_DATADIR};DEWBELL_BINARY=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/dewbell;DEWBELL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(arg_XSERVER)
    set_tests_properties(${name} PROPERTIES LABELS xserver RESOURCE_LOCK xserver)
  endif()
endfunction()
