# The context snapshot the store takes every second, against fakes and against this desktop
# (run it under xvfb-run to include the X11 readings).
dewbell_add_benchmark(bench_snapshot SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_snapshot.cpp LIBRARIES dewbell_platform Qt6::Gui)
target_include_directories(bench_snapshot PRIVATE ${PROJECT_SOURCE_DIR}/tests)
