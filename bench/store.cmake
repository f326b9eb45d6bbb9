# The store's tick and its launch-and-save with three years of history.
dewbell_add_benchmark(bench_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_store.cpp LIBRARIES dewbell_store)
# Thirty years of history: the state file's coding and a store's launch and save, time and memory.
dewbell_add_benchmark(bench_thirty_years SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_thirty_years.cpp LIBRARIES dewbell_store)
