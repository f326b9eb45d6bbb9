# The store's tick and its launch-and-save with three years of history.
dewbell_add_benchmark(bench_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_store.cpp LIBRARIES dewbell_store)
# Thirty years of history: the state file's coding and a store's launch and save, time and memory.
dewbell_add_benchmark(bench_thirty_years SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_thirty_years.cpp LIBRARIES dewbell_store)
# A history at the state file's bound: main-thread time of a drink, of the drink that splits the
# file, and of opening a file twice the bound.
dewbell_add_benchmark(bench_history_bound SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_history_bound.cpp LIBRARIES dewbell_store)
