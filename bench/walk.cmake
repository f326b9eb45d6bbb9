# A whole water reminder in the running application, phase by phase: processor time as a share
# of one core, and resident memory afterwards. Needs an X display; see the source for how to run it.
if(TARGET dewbell_shell)
  add_executable(reminder_walk_cpu ${CMAKE_CURRENT_LIST_DIR}/reminder_walk_cpu.cpp)
  target_link_libraries(reminder_walk_cpu PRIVATE dewbell_shell)
  set_target_properties(reminder_walk_cpu PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(reminder_walk_cpu dewbell_bundle)
endif()
