# SPDX-License-Identifier: GPL-3.0-or-later
# Measurements, not tests: built only with -DVELTRANO_BENCHMARKS=ON, never
# run by CTest.
#   cmake --build <dir> --target bench_rules && <dir>/tests/bench_rules
find_package(benchmark REQUIRED)

add_executable(bench_rules bench/bench_rules.cpp)
target_link_libraries(bench_rules PRIVATE veltrano_core benchmark::benchmark_main)
set_target_properties(bench_rules PROPERTIES AUTOMOC OFF AUTOUIC OFF)

# The help, from a crafted file on disk to its laid-out page.
qt_add_executable(bench_help bench/bench_help.cpp)
target_link_libraries(bench_help PRIVATE veltrano_platform benchmark::benchmark)
target_precompile_headers(bench_help REUSE_FROM veltrano_pch_game)
veltrano_skip_pch_for_empty_moc(bench_help)

# A click on the real main window, offscreen.
qt_add_executable(bench_click bench/bench_click.cpp)
target_link_libraries(bench_click PRIVATE veltrano_uitest_support benchmark::benchmark)
target_precompile_headers(bench_click REUSE_FROM veltrano_pch_game)
veltrano_skip_pch_for_empty_moc(bench_click)
