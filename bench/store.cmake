# The store's tick and its launch-and-save with three years of history.
dewbell_add_benchmark(bench_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_store.cpp LIBRARIES dewbell_store)
