# What one second of the store's clock costs the shell's views: hidden (the idle case), with
# the popover open and with the main window open.
if(TARGET dewbell_shell)
  dewbell_add_benchmark(bench_shell_tick SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_shell_tick.cpp LIBRARIES dewbell_shell BUNDLE)
endif()
