# A keystroke on the note page of a long-time user, from the key to the repainted page.
if(TARGET dewbell_window)
  dewbell_add_benchmark(bench_page_keystroke SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_page_keystroke.cpp
    LIBRARIES dewbell_window)
  target_compile_definitions(bench_page_keystroke PRIVATE DEWBELL_DEFAULT_BUNDLE="${CMAKE_BINARY_DIR}/share/dewbell")
  add_dependencies(bench_page_keystroke dewbell_bundle)
endif()
