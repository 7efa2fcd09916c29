# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the rules library: plain GoogleTest, no Qt.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(core_tests
    core/geometry_test.cpp
    core/rules_test.cpp
    core/games_test.cpp
    core/hostile_test.cpp
    core/position_test.cpp
    core/window_rules_test.cpp)
target_link_libraries(core_tests PRIVATE veltrano_core veltrano_test_model GTest::gtest_main)
set_target_properties(core_tests PROPERTIES AUTOMOC OFF AUTOUIC OFF)
gtest_discover_tests(core_tests TEST_PREFIX "core." DISCOVERY_TIMEOUT 30)

# The damaged-position tests once more, compiled together with the rules
# sources under the address and undefined-behaviour sanitizers and the
# library's bounds assertions: any read or write off the grid aborts the run.
add_executable(core_hostile_asan
    core/hostile_test.cpp
    ${PROJECT_SOURCE_DIR}/core/geometry.cpp
    ${PROJECT_SOURCE_DIR}/core/rules.cpp)
target_include_directories(core_hostile_asan PRIVATE ${PROJECT_SOURCE_DIR}/core)
target_compile_options(core_hostile_asan PRIVATE ${VELTRANO_SANITIZE_COMPILE})
target_compile_definitions(core_hostile_asan PRIVATE _GLIBCXX_ASSERTIONS)
target_link_options(core_hostile_asan PRIVATE ${VELTRANO_SANITIZE})
target_link_libraries(core_hostile_asan PRIVATE GTest::gtest_main)
set_target_properties(core_hostile_asan PROPERTIES AUTOMOC OFF AUTOUIC OFF)
add_test(NAME core_hostile_asan COMMAND core_hostile_asan)
set_tests_properties(core_hostile_asan PROPERTIES ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1")
