# SPDX-License-Identifier: GPL-3.0-or-later
# The game as a native Wayland client on a private, headless weston.
qt_add_executable(tst_wayland wayland/tst_wayland.cpp)
target_link_libraries(tst_wayland PRIVATE veltrano_uitest_support Qt6::Test)
target_precompile_headers(tst_wayland REUSE_FROM veltrano_pch_test)
veltrano_skip_pch_for_empty_moc(tst_wayland)
add_test(NAME wayland_game
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/wayland/run.sh $<TARGET_FILE:veltrano>
                 $<TARGET_FILE:tst_wayland> ${CMAKE_CURRENT_BINARY_DIR})
# The script stops its own weston and game on every way out; its waits are
# bounded well inside this limit.
set_tests_properties(wayland_game PROPERTIES TIMEOUT 90 LABELS wayland)
