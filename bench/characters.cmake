# Cost of one frame of a walking companion drawn on the 410 x 760 reminder canvas.
dewbell_add_benchmark(bench_characters SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_characters.cpp LIBRARIES dewbell_characters BUNDLE)
