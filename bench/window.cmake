# A keystroke on the note page of a long-time user, from the key to the repainted page.
if(TARGET dewbell_window)
  dewbell_add_benchmark(bench_page_keystroke SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_page_keystroke.cpp
    LIBRARIES dewbell_window BUNDLE)
endif()
