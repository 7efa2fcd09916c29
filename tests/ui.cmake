# Tests that drive the real main window offscreen, as a player would, and the
# click benchmark.
add_library(veltrano_uitest_support STATIC ui/BoardModel.cpp ui/GameWindow.cpp)
target_include_directories(veltrano_uitest_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/ui)
target_link_libraries(veltrano_uitest_support PUBLIC veltrano_ui Qt6::Test)

foreach(name tst_mainwindow_layout tst_mainwindow_close tst_play tst_chrono_looks)
    veltrano_add_qtest(${name} SOURCES ui/${name}.cpp LIBS veltrano_uitest_support)
endforeach()

# Not a test: cmake --build <dir> --target bench_click, then run it.
find_package(benchmark REQUIRED)
add_executable(bench_click bench/bench_click.cpp)
target_link_libraries(bench_click PRIVATE veltrano_uitest_support benchmark::benchmark)
