# Measurements, not tests: built with everything else, never run by CTest.
#   cmake --build <dir> --target bench_rules && <dir>/tests/bench_rules
find_package(benchmark REQUIRED)

add_executable(bench_rules bench/bench_rules.cpp)
target_link_libraries(bench_rules PRIVATE veltrano_core benchmark::benchmark_main)
set_target_properties(bench_rules PROPERTIES AUTOMOC OFF AUTOUIC OFF)

# The help, from a crafted file on disk to its laid-out page.
add_executable(bench_help bench/bench_help.cpp)
target_link_libraries(bench_help PRIVATE veltrano_platform benchmark::benchmark)
