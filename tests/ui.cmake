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

# The faces the windows ask for, with only the fonts the set-up installs, then
# with only the metric twins of the two named families.
veltrano_add_qtest(tst_faces SOURCES ui/tst_faces.cpp LIBS veltrano_uitest_support)
target_compile_definitions(tst_faces PRIVATE VELTRANO_SETUP_SCRIPT="${PROJECT_SOURCE_DIR}/setup.sh")
add_test(NAME tst_faces_metric_twins_only COMMAND tst_faces)
set_tests_properties(tst_faces_metric_twins_only PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;VELTRANO_FONT_PACKAGES=fonts-liberation2")

# The window on a screen with two device pixels to a pixel.
veltrano_add_qtest(tst_hidpi SOURCES ui/tst_hidpi.cpp LIBS veltrano_uitest_support)
set_tests_properties(tst_hidpi PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
