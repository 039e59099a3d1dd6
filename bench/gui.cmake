# The window's benchmarks: the window shown after start-up, an Open with its drawing, and an
# Open of the largest recording with its progress and Cancel.
# Run them on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
find_package(benchmark REQUIRED)

add_executable(ritmova-window-bench ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_open_bench.cpp)
target_link_libraries(ritmova-window-bench PRIVATE ritmova_gui benchmark::benchmark)
target_compile_definitions(ritmova-window-bench PRIVATE
  RITMOVA_EXAMPLE="${CMAKE_CURRENT_LIST_DIR}/../examples/nsr2db-nsr012.int")
