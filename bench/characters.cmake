# Cost of one frame of a walking companion drawn on the 410 x 760 reminder canvas.
dewbell_add_benchmark(bench_characters SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_characters.cpp LIBRARIES dewbell_characters)
target_compile_definitions(bench_characters PRIVATE DEWBELL_DEFAULT_BUNDLE="${CMAKE_BINARY_DIR}/share/dewbell")
add_dependencies(bench_characters dewbell_bundle)
