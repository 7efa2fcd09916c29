# Measurements, not tests: built with everything else, never run by CTest.
#   cmake --build <dir> --target bench_rules && <dir>/tests/bench_rules
find_package(benchmark REQUIRED)

add_executable(bench_rules bench/bench_rules.cpp)
target_link_libraries(bench_rules PRIVATE veltrano_core benchmark::benchmark_main)
set_target_properties(bench_rules PROPERTIES AUTOMOC OFF AUTOUIC OFF)
